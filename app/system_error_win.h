// The operating system's description of an error code.
#ifndef KELVANE_APP_SYSTEM_ERROR_WIN_H_
#define KELVANE_APP_SYSTEM_ERROR_WIN_H_

#include <windows.h>

#include <string>

namespace app {

// FormatMessageW's text for a Win32 error or an HRESULT, without trailing
// blanks, line breaks and full stops; "Error 0x<code>" when the system has
// no text for it.
std::u16string SystemErrorText(DWORD code);

}  // namespace app

#endif  // KELVANE_APP_SYSTEM_ERROR_WIN_H_
