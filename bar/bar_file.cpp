#include "bar/bar_file.h"

#include "bar/code_page.h"
#include "bar/errors.h"
#include "bar/unicode.h"

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

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  std::size_t length = 0;
  for (const std::u16string& line : lines) length += line.size() + 2;
  std::u16string text;
  text.reserve(length);
  for (const std::u16string& line : lines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

// The mark and bytes of the text in one encoding, or nullopt when that
// encoding would lose a character.
std::optional<std::string> EncodeLossless(std::u16string_view text, Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf16LE:
      return std::string(kUtf16LEMark) + EncodeUtf16(text, false);
    case Encoding::kUtf16BE:
      return std::string(kUtf16BEMark) + EncodeUtf16(text, true);
    case Encoding::kUtf8: {
      bool lossless = true;
      std::string bytes = std::string(kUtf8Mark) + EncodeUtf8(text, &lossless);
      if (!lossless) return std::nullopt;
      return bytes;
    }
    case Encoding::kLegacy: {
      const int code_page = LegacyCodePage();
      if (!CodePageHolds(code_page, text)) return std::nullopt;
      const std::string_view mark = code_page == kCodePageUtf8 ? kUtf8Mark : "";
      return std::string(mark) + EncodeCodePage(code_page, text);
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

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char16_t unit = text[at];
    if (unit != u'\r' && unit != u'\n') continue;
    lines.emplace_back(text.substr(start, at - start));
    if (unit == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ++at;
    start = at + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string EncodeBarFile(const std::vector<std::u16string>& lines,
                          std::optional<Encoding> remembered, Encoding* written) {
  const std::u16string text = JoinLines(lines);
  const Encoding chosen = remembered.value_or(Encoding::kLegacy);
  std::optional<std::string> bytes = EncodeLossless(text, chosen);
  Encoding used = chosen;
  if (!bytes) {
    // UTF-16 holds every code unit, and the file manager reads it back.
    used = Encoding::kUtf16LE;
    bytes = EncodeLossless(text, used);
  }
  if (written) *written = used;
  return std::move(*bytes);
}

}  // namespace bar
