// Expected bar-file bytes, spelled from readable lines. Test sources hold
// their texts as UTF-8; these helpers put them into the byte form a file on
// disk has, so a test can compare whole files byte for byte.
#ifndef KELVANE_TESTS_E2E_BAR_BYTES_H_
#define KELVANE_TESTS_E2E_BAR_BYTES_H_

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);

// Every line followed by CR LF, the last one included: how the program
// ends every line it writes.
std::string CrLfLines(const std::vector<std::string>& utf8_lines);

// `utf8` in the legacy code page `code_page`, without a byte-order mark.
// Every character must exist in that code page.
std::string InCodePage(const std::string& utf8, UINT code_page);
// FF FE and two bytes per code unit, low byte first.
std::string Utf16LeWithBom(const std::string& utf8);
// EF BB BF and the UTF-8 bytes.
std::string Utf8WithBom(const std::string& utf8);

// The lines of a file's text (no mark), split at CR LF, CR or LF; a final
// break adds no empty line. For readable failure messages and for
// comparisons that do not care about line order.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_BAR_BYTES_H_
