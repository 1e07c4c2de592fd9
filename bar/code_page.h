// The legacy (ANSI) code page: the encoding of bar files without a
// byte-order mark. Windows: GetACP, MultiByteToWideChar, WideCharToMultiByte.
// POSIX: iconv, with the code page settable so that tests can run as 1251,
// 1252, 936 or 65001.
#ifndef KELVANE_BAR_CODE_PAGE_H_
#define KELVANE_BAR_CODE_PAGE_H_

#include <string>
#include <string_view>

namespace bar {

constexpr int kCodePageUtf8 = 65001;

// The process's legacy code page, fixed at its first use (Windows: GetACP;
// POSIX: 1252 unless SetLegacyCodePage was called first).
int LegacyCodePage();

// Replaces the legacy code page for the rest of the process (tests only).
void SetLegacyCodePage(int code_page);

// Text from code-page bytes. Never fails: bytes the code page does not
// define come out as the platform's conversion gives them (a single-byte
// code page maps an undefined byte b to U+00bb, so that it round-trips).
std::u16string DecodeCodePage(int code_page, std::string_view bytes);

// Code-page bytes from text. Never fails: a character the code page lacks
// comes out as the platform's conversion gives it (a best fit or "?").
std::string EncodeCodePage(int code_page, std::u16string_view text);

// True when EncodeCodePage gives back exactly this text when decoded, so a
// save in the code page loses nothing.
bool CodePageHolds(int code_page, std::u16string_view text);

}  // namespace bar

#endif  // KELVANE_BAR_CODE_PAGE_H_
