#include "bar/bar_file.h"

#include <algorithm>

#include "bar/code_page.h"
#include "bar/errors.h"
#include "bar/unicode.h"
#include "bar/unit_scan.h"

namespace bar {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

[[noreturn]] void ThrowDecodingError() {
  throw DecodingError(
      u"No mapping for the Unicode character exists in the target multi-byte code page");
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

std::u16string DecodeUtf16Text(std::string_view bytes, bool big_endian) {
  // A lone byte is not even one code unit: the conversion has nothing to
  // give, and that is a failure rather than an empty bar.
  if (bytes.size() == 1) ThrowDecodingError();
  return DecodeUtf16(bytes, big_endian);
}

std::u16string DecodeLegacyText(std::string_view bytes) {
  // The conversion itself never fails, but where it has to guess (invalid
  // UTF-8 under code page 65001, a broken double-byte sequence) a save
  // would write the guess instead of what the user had.
  std::optional<std::u16string> text = DecodeCodePageExactly(LegacyCodePage(), bytes);
  if (!text) ThrowDecodingError();
  return std::move(*text);
}

std::size_t JoinedLength(const std::vector<std::u16string_view>& lines) {
  std::size_t length = 0;
  for (std::u16string_view line : lines) length += line.size() + 2;
  return length;
}

// Every line followed by CR LF, as one text for the conversions.
std::u16string JoinLines(const std::vector<std::u16string_view>& lines) {
  const std::size_t length = JoinedLength(lines);
  std::u16string text(length, u'\0');
  char16_t* out = text.data();
  for (std::u16string_view line : lines) {
    out = std::copy(line.begin(), line.end(), out);
    *out++ = u'\r';
    *out++ = u'\n';
  }
  return text;
}

// The mark and the UTF-16 bytes of every line followed by CR LF.
std::string EncodeUtf16Lines(const std::vector<std::u16string_view>& lines, bool big_endian) {
  const std::string_view mark = big_endian ? kUtf16BEMark : kUtf16LEMark;
  const std::size_t size = mark.size() + 2 * JoinedLength(lines);
  std::string bytes(size, '\0');
  char* out = std::copy(mark.begin(), mark.end(), bytes.data());
  auto put = [&](char16_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    *out++ = big_endian ? high : low;
    *out++ = big_endian ? low : high;
  };
  for (std::u16string_view line : lines) {
    for (char16_t unit : line) put(unit);
    put(u'\r');
    put(u'\n');
  }
  return bytes;
}

// The mark and bytes of the lines in one encoding, or nullopt when that
// encoding would lose a character.
std::optional<std::string> EncodeLossless(const std::vector<std::u16string_view>& lines,
                                          Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf16LE:
      return EncodeUtf16Lines(lines, false);
    case Encoding::kUtf16BE:
      return EncodeUtf16Lines(lines, true);
    case Encoding::kUtf8: {
      bool lossless = true;
      std::string bytes = EncodeUtf8(JoinLines(lines), &lossless);
      if (!lossless) return std::nullopt;
      bytes.insert(0, kUtf8Mark);
      return bytes;
    }
    case Encoding::kLegacy: {
      const int code_page = LegacyCodePage();
      std::optional<std::string> bytes = EncodeCodePageExactly(code_page, JoinLines(lines));
      if (bytes && code_page == kCodePageUtf8) bytes->insert(0, kUtf8Mark);
      return bytes;
    }
  }
  return std::nullopt;
}

}  // namespace

Encoding DetectEncoding(std::string_view bytes, std::size_t* mark_length) {
  Encoding encoding = Encoding::kLegacy;
  std::size_t length = 0;
  if (StartsWith(bytes, kUtf8Mark)) {
    encoding = Encoding::kUtf8;
    length = kUtf8Mark.size();
  } else if (StartsWith(bytes, kUtf16LEMark)) {
    encoding = Encoding::kUtf16LE;
    length = kUtf16LEMark.size();
  } else if (StartsWith(bytes, kUtf16BEMark)) {
    encoding = Encoding::kUtf16BE;
    length = kUtf16BEMark.size();
  }
  if (mark_length) *mark_length = length;
  return encoding;
}

std::u16string DecodeBarText(std::string_view bytes_after_mark, Encoding encoding) {
  if (bytes_after_mark.empty()) return std::u16string();
  switch (encoding) {
    case Encoding::kUtf8: {
      std::optional<std::u16string> text = DecodeUtf8Strict(bytes_after_mark);
      if (!text) ThrowDecodingError();
      return std::move(*text);
    }
    case Encoding::kUtf16LE:
      return DecodeUtf16Text(bytes_after_mark, false);
    case Encoding::kUtf16BE:
      return DecodeUtf16Text(bytes_after_mark, true);
    case Encoding::kLegacy:
      return DecodeLegacyText(bytes_after_mark);
  }
  return std::u16string();
}

std::u16string DecodeBarFileLoosely(std::string_view bytes) {
  std::size_t mark_length = 0;
  const Encoding encoding = DetectEncoding(bytes, &mark_length);
  bytes.remove_prefix(mark_length);
  switch (encoding) {
    case Encoding::kUtf8:
      return FromUtf8(bytes);
    case Encoding::kUtf16LE:
    case Encoding::kUtf16BE:
      return DecodeUtf16(bytes, encoding == Encoding::kUtf16BE);
    case Encoding::kLegacy:
      return DecodeCodePage(LegacyCodePage(), bytes);
  }
  return std::u16string();
}

std::vector<std::u16string_view> SplitLineViews(std::u16string_view text, bool* nul) {
  std::vector<std::u16string_view> lines;
  bool any_nul = false;
  std::size_t start = 0;
  for (std::size_t at = FindControlUnit(text.data(), text.size(), 0); at < text.size();
       at = FindControlUnit(text.data(), text.size(), at + 1)) {
    const char16_t unit = text[at];
    if (unit == u'\0') any_nul = true;
    if (unit != u'\r' && unit != u'\n') continue;
    lines.push_back(text.substr(start, at - start));
    if (unit == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ++at;
    start = at + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  if (nul) *nul = any_nul;
  return lines;
}

std::string EncodeBarLines(const std::vector<std::u16string_view>& lines,
                           std::optional<Encoding> remembered) {
  std::optional<std::string> bytes = EncodeLossless(lines, remembered.value_or(Encoding::kLegacy));
  // UTF-16 holds every code unit, and the file manager reads it back.
  if (!bytes) bytes = EncodeLossless(lines, Encoding::kUtf16LE);
  return std::move(*bytes);
}

}  // namespace bar
