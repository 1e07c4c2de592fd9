#include "app/control_text_win.h"

namespace app {

std::u16string ControlText(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::u16string();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return FromWide(text);
}

void SetControlText(HWND window, const std::u16string& text) {
  SetWindowTextW(window, ToWide(text).c_str());
}

}  // namespace app
