#include "bar/single_byte_page.h"

#include <algorithm>
#include <utility>


namespace bar {

namespace {

constexpr char kUnmappable = '?';

}  // namespace

SingleBytePage::SingleBytePage(const std::array<char16_t, 256>& to_unicode,
                               const std::array<bool, 256>& exact,
                               std::vector<std::uint16_t> from_unicode)
    : to_unicode_(to_unicode),
      exact_(exact),
      every_byte_exact_(std::all_of(exact.begin(), exact.end(), [](bool e) { return e; })),
      from_unicode_(std::move(from_unicode)) {}

void SingleBytePage::Decode(std::string_view bytes, std::u16string* text) const {
  text->resize(bytes.size());
  char16_t* out = text->data();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = to_unicode_[in[i]];
}

bool SingleBytePage::DecodeExactly(std::string_view bytes, std::u16string* text) const {
  if (!every_byte_exact_) {
    for (char byte : bytes) {
      if (!exact_[static_cast<unsigned char>(byte)]) return false;
    }
  }
  Decode(bytes, text);
  return true;
}

void SingleBytePage::Encode(std::u16string_view text, std::string* bytes) const {
  bytes->resize(text.size());
  char* out = bytes->data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint16_t byte = from_unicode_[text[i]];
    out[i] = byte == kNoByte ? kUnmappable : static_cast<char>(byte);
  }
}

bool SingleBytePage::EncodeExactly(std::u16string_view text, std::string* bytes) const {
  bytes->resize(text.size());
  return EncodeInto(text, bytes->data());
}

bool SingleBytePage::EncodeLinesExactly(const std::vector<std::u16string_view>& lines,
                                        std::u16string_view line_end, std::string* bytes) const {
  std::size_t size = 0;
  for (std::u16string_view line : lines) size += line.size() + line_end.size();
  bytes->resize(size);
  char* out = bytes->data();
  for (std::u16string_view line : lines) {
    if (!EncodeInto(line, out) || !EncodeInto(line_end, out + line.size())) return false;
    out += line.size() + line_end.size();
  }
  return true;
}

bool SingleBytePage::EncodeInto(std::u16string_view text, char* out) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint16_t byte = from_unicode_[text[i]];
    if (byte == kNoByte) return false;
    out[i] = static_cast<char>(byte);
  }
  return true;
}

}  // namespace bar
