// The legacy (ANSI) code page: the encoding of bar files without a
// byte-order mark, converted by the system's own calls on Windows
// (code_page_win.cpp) and through iconv elsewhere (code_page_posix.cpp).
#ifndef KELVANE_BAR_CODE_PAGE_H_
#define KELVANE_BAR_CODE_PAGE_H_

#include <optional>
#include <string>
#include <string_view>

namespace bar {

constexpr int kCodePageUtf8 = 65001;

// The process's legacy code page, fixed at its first use (Windows: GetACP;
// POSIX: 1252 unless SetLegacyCodePage was called first).
int LegacyCodePage();

// Test seam: replaces the legacy code page for the rest of the process.
void SetLegacyCodePage(int code_page);

// Text from code-page bytes; never fails. In a single-byte code page every
// byte, defined or not, decodes to a character that encodes back to it (the
// undefined byte 81 of 1252 to U+0081), so any file survives a load and a
// save. Bytes that form no character (ill-formed UTF-8, a broken double-byte
// sequence) become U+FFFD, or on Windows what the system's conversion gives.
std::u16string DecodeCodePage(int code_page, std::string_view bytes);

// Code-page bytes from text. Never fails: each code unit the code page lacks
// becomes "?" (so a character beyond the BMP becomes "??"), where Windows may
// give a best fit instead ("A" for U+0100); 65001 writes a lone surrogate as
// U+FFFD.
std::string EncodeCodePage(int code_page, std::u16string_view text);

// EncodeCodePage(code_page, text) when decoding those bytes gives back
// exactly this text, so that a save in the code page loses nothing; else
// nullopt.
std::optional<std::string> EncodeCodePageExactly(int code_page, std::u16string_view text);

// The text of code-page bytes that a save gives back character for
// character; nullopt when some bytes form no character of the page (invalid
// UTF-8 under 65001, a broken double-byte sequence) or a character would not
// come back (EncodeCodePageExactly). Another byte form of a character is
// fine (932's FA 4A and 87 54 are both U+2160); a save writes the usual one.
std::optional<std::u16string> DecodeCodePageExactly(int code_page, std::string_view bytes);

}  // namespace bar

#endif  // KELVANE_BAR_CODE_PAGE_H_
