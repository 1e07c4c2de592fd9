// The legacy (ANSI) code page: the encoding of bar files without a
// byte-order mark. Windows: GetACP, MultiByteToWideChar, WideCharToMultiByte.
// POSIX: iconv, with the code page settable so that tests can run as 1251,
// 1252, 936 or 65001.
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

// Replaces the legacy code page for the rest of the process (tests only).
void SetLegacyCodePage(int code_page);

// Text from code-page bytes. Never fails. In a single-byte code page every
// byte, defined or not, decodes to a character that encodes back to it (the
// undefined byte 81 of 1252 to U+0081), so any file survives a load and a
// save. 65001 (UTF-8) decodes ill-formed bytes to U+FFFD. A double-byte page
// (932, 936, 949, 950) decodes a byte that starts no valid sequence to
// U+FFFD on POSIX and as the system's conversion gives it on Windows ("?" or
// a private-use character). POSIX falls back to ISO-8859-1 for a code page
// that iconv does not know.
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
// character: nullopt when some bytes form no character of the page (the
// conversion would put a replacement in their place: invalid UTF-8 under
// 65001, a broken double-byte sequence) or when a character would not come
// back from the page (EncodeCodePageExactly). A character that has more than one
// byte form is fine (Japanese FA 4A and 87 54 are both U+2160); a save
// writes its usual one.
std::optional<std::u16string> DecodeCodePageExactly(int code_page, std::string_view bytes);

}  // namespace bar

#endif  // KELVANE_BAR_CODE_PAGE_H_
