#include "bar/unicode.h"

namespace bar {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One sequence read from the front of the bytes: its code point and length
// when it is well formed, else the length of its longest well-formed prefix
// (at least 1), which is what a lenient reader replaces by one U+FFFD.
struct Sequence {
  char32_t code_point;
  std::size_t length;
  bool valid;
};

// The well-formed sequences of the Unicode standard (table 3-7): the
// second byte's range is narrowed after E0, ED, F0 and F4 so that overlong
// forms, encoded surrogates and code points above U+10FFFF are rejected.
Sequence ReadSequence(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {lead, 1, true};

  int continuation_bytes = 0;
  char32_t code_point = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuation_bytes = 1;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation_bytes = 2;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuation_bytes = 3;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {0, 1, false};
  }

  std::size_t length = 1;
  for (int i = 0; i < continuation_bytes; ++i) {
    if (at + length >= bytes.size()) return {0, length, false};
    const auto next = static_cast<unsigned char>(bytes[at + length]);
    if (next < low || next > high) return {0, length, false};
    code_point = (code_point << 6) | (next & 0x3F);
    ++length;
    low = 0x80;
    high = 0xBF;
  }
  return {code_point, length, true};
}

void AppendUtf16(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
    return;
  }
  code_point -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const Sequence sequence = ReadSequence(bytes, at);
    if (!sequence.valid) return std::nullopt;
    AppendUtf16(text, sequence.code_point);
    at += sequence.length;
  }
  return text;
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const Sequence sequence = ReadSequence(bytes, at);
    AppendUtf16(text, sequence.valid ? sequence.code_point : kReplacement);
    at += sequence.length;
  }
  return text;
}

std::string EncodeUtf8(std::u16string_view text, bool* lossless) {
  if (lossless) *lossless = true;
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char16_t unit = text[at];
    if (IsHighSurrogate(unit) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
      const char16_t low = text[++at];
      AppendUtf8(bytes, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
      continue;
    }
    if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      if (lossless) *lossless = false;
      AppendUtf8(bytes, kReplacement);
      continue;
    }
    AppendUtf8(bytes, unit);
  }
  return bytes;
}

std::string ToUtf8(std::u16string_view text) { return EncodeUtf8(text); }

std::u16string DecodeUtf16(std::string_view bytes, bool big_endian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = big_endian ? static_cast<char16_t>(first << 8 | second)
                         : static_cast<char16_t>(second << 8 | first);
  }
  return text;
}

}  // namespace bar
