// The text of the program's controls, in the core's UTF-16 text. ToWide and
// FromWide are the core's converters (bar/wide_win.h), named here so that
// the shell's Win32 calls read the same as the core's.
#ifndef KELVANE_APP_CONTROL_TEXT_WIN_H_
#define KELVANE_APP_CONTROL_TEXT_WIN_H_

#include <windows.h>

#include <string>

#include "bar/wide_win.h"

namespace app {

using bar::FromWide;
using bar::ToWide;

// The whole text of a window or control, however long.
std::u16string ControlText(HWND window);
void SetControlText(HWND window, const std::u16string& text);

}  // namespace app

#endif  // KELVANE_APP_CONTROL_TEXT_WIN_H_
