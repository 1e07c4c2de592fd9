// The bytes of a bar file: byte-order marks, decoding, line splitting and
// encoding. LineList::LoadFromFile and SaveToFile are built from these.
#ifndef KELVANE_BAR_BAR_FILE_H_
#define KELVANE_BAR_BAR_FILE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bar {

// How a bar file's text is stored: the legacy code page (no byte-order
// mark), or UTF-8, UTF-16 LE or UTF-16 BE, each behind its mark.
enum class Encoding { kLegacy, kUtf8, kUtf16LE, kUtf16BE };

// The encoding a file's leading bytes announce, and the length of that mark:
// EF BB BF UTF-8, else FF FE UTF-16 LE, else FE FF UTF-16 BE, else the
// legacy code page with no mark.
Encoding DetectEncoding(std::string_view bytes, std::size_t* mark_length);

// The text after the mark; no bytes give an empty text. UTF-8 is strict;
// UTF-16 drops an odd last byte. DecodingError for bytes that yield no
// character at all (invalid UTF-8, a UTF-16 mark and exactly one byte) and
// for legacy bytes whose characters a save would not give back
// (DecodeCodePageExactly).
std::u16string DecodeBarText(std::string_view bytes_after_mark, Encoding encoding);

// The text of a whole file that is only looked into, never saved: decoded
// by its mark as DecodeBarText does, but without failing. Bytes that form no
// character become U+FFFD (or what the system's conversion gives), a lone
// UTF-16 byte nothing.
std::u16string DecodeBarFileLoosely(std::string_view bytes);

// Lines of a text, as views into it: a line ends at CR LF, a lone CR or a
// lone LF; text after the last break is a line when it is not empty; an
// empty text has none. *nul, when given, tells whether the text holds a
// NUL.
std::vector<std::u16string_view> SplitLineViews(std::u16string_view text, bool* nul = nullptr);

// The bytes SaveToFile writes: the mark (none for the legacy code page
// unless it is 65001), then every line followed by CR LF, in the remembered
// encoding (the legacy code page when none). Where that encoding cannot hold
// every character (a Chinese button in a Cyrillic ANSI bar, a lone surrogate
// in UTF-8), UTF-16 LE with its mark instead, which loses nothing.
std::string EncodeBarLines(const std::vector<std::u16string_view>& lines,
                           std::optional<Encoding> remembered);

}  // namespace bar

#endif  // KELVANE_BAR_BAR_FILE_H_
