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

class SingleBytePage;

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

// True when EncodeCodePage gives back exactly this text when decoded, so a
// save in the code page loses nothing.
bool CodePageHolds(int code_page, std::u16string_view text);

// EncodeCodePage(code_page, text) when CodePageHolds(code_page, text), else
// nullopt: the save's check and its bytes from one conversion where the page
// allows it (a single-byte page, 65001, on Windows a page that takes
// WC_NO_BEST_FIT_CHARS), from an encode and a decode elsewhere.
std::optional<std::string> EncodeCodePageExactly(int code_page, std::u16string_view text);

// The text of code-page bytes that a save gives back character for
// character: nullopt when some bytes form no character of the page (the
// conversion would put a replacement in their place: invalid UTF-8 under
// 65001, a broken double-byte sequence) or when a character would not come
// back from the page (CodePageHolds). A character that has more than one
// byte form is fine (Japanese FA 4A and 87 54 are both U+2160); a save
// writes its usual one. A single-byte page and 65001 decide it in the one
// conversion; another page takes an encode more (on POSIX a decode more
// when the bytes hold a character in another than its usual form).
std::optional<std::u16string> DecodeCodePageExactly(int code_page, std::string_view bytes);

// The two above, into a buffer whose memory they use again: false where they
// give nullopt (the buffer's content is then of no use).
bool EncodeCodePageExactly(int code_page, std::u16string_view text, std::string* bytes);
bool DecodeCodePageExactly(int code_page, std::string_view bytes, std::u16string* text);

// The tables the exact conversions of a single-byte page use, which give
// the same bytes and answers without a text in one piece; nullptr for any
// other page. Made once per page and kept for the process.
const SingleBytePage* SingleBytePageFor(int code_page);

}  // namespace bar

#endif  // KELVANE_BAR_CODE_PAGE_H_
