// Lines as strings of their own, for tests and the fuzzers' checks: what a
// list holds, what a text splits into, and the bytes lines are saved as.
#ifndef KELVANE_TESTS_LINES_H_
#define KELVANE_TESTS_LINES_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bar/bar_file.h"
#include "bar/line_list.h"

namespace testing_support {

using Lines = std::vector<std::u16string>;

inline Lines ToLines(const std::vector<std::u16string_view>& views) {
  return Lines(views.begin(), views.end());
}

// Views of the lines, for the core's routines that take views.
inline std::vector<std::u16string_view> Views(const Lines& lines) {
  return std::vector<std::u16string_view>(lines.begin(), lines.end());
}

// A copy of every line of the list.
inline Lines LinesOf(const bar::LineList& list) { return ToLines(list.views()); }

// bar::SplitLineViews, copied.
inline Lines SplitLines(std::u16string_view text) { return ToLines(bar::SplitLineViews(text)); }

// bar::EncodeBarLines of lines held as strings.
inline std::string EncodeBarFile(const Lines& lines, std::optional<bar::Encoding> remembered) {
  return bar::EncodeBarLines(Views(lines), remembered);
}

// The encoding EncodeBarLines writes the lines in: the remembered one, or
// UTF-16 LE when that one cannot hold them. (Bytes in any other encoding
// never equal the UTF-16 LE ones: those alone start with FF FE and take two
// bytes a code unit besides.)
inline bar::Encoding WrittenEncoding(const Lines& lines, std::optional<bar::Encoding> remembered) {
  const bool utf16 =
      EncodeBarFile(lines, remembered) == EncodeBarFile(lines, bar::Encoding::kUtf16LE);
  return utf16 ? bar::Encoding::kUtf16LE : remembered.value_or(bar::Encoding::kLegacy);
}

// UTF-16 bytes of the text, two per code unit, without a mark.
inline std::string EncodeUtf16(std::u16string_view text, bool big_endian) {
  std::string bytes;
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

}  // namespace testing_support

#endif  // KELVANE_TESTS_LINES_H_
