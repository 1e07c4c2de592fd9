// What each platform's code-page file (code_page_posix.cpp,
// code_page_win.cpp) supplies besides the conversions of code_page.h, which
// are built on these: the exact conversions of any page but UTF-8, which
// code_page.cpp handles alike everywhere.
#ifndef KELVANE_BAR_CODE_PAGE_PLATFORM_H_
#define KELVANE_BAR_CODE_PAGE_PLATFORM_H_

#include <optional>
#include <string>
#include <string_view>

namespace bar {

// EncodeCodePageExactly and DecodeCodePageExactly for a page other than
// 65001.
std::optional<std::string> EncodePageExactly(int code_page, std::u16string_view text);
std::optional<std::u16string> DecodePageExactly(int code_page, std::string_view bytes);

}  // namespace bar

#endif  // KELVANE_BAR_CODE_PAGE_PLATFORM_H_
