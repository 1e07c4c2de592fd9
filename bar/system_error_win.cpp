#include "bar/system_error_win.h"

#include <cstdio>

#include "bar/wide_win.h"

namespace bar {

std::u16string SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string message = length > 0 ? FromWide(std::wstring_view(text, length)) : u"";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() <= u' ' || message.back() == u'.')) {
    message.pop_back();
  }
  if (!message.empty()) return message;
  // An HRESULT reads best in hexadecimal, and a Win32 code is no worse off.
  char fallback[32];
  std::snprintf(fallback, sizeof fallback, "Error 0x%08lX", static_cast<unsigned long>(code));
  return std::u16string(fallback, fallback + std::char_traits<char>::length(fallback));
}

}  // namespace bar
