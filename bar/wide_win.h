// The core's text is UTF-16 code units in std::u16string; Win32 takes
// wchar_t, which is the same 16-bit unit on Windows. These copies are the
// only place the two meet, for bar/ and app/ alike.
#ifndef KELVANE_BAR_WIDE_WIN_H_
#define KELVANE_BAR_WIDE_WIN_H_

#include <string>
#include <string_view>

namespace bar {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace bar

#endif  // KELVANE_BAR_WIDE_WIN_H_
