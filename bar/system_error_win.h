// The operating system's description of an error code, as every message of
// the program quotes it.
#ifndef KELVANE_BAR_SYSTEM_ERROR_WIN_H_
#define KELVANE_BAR_SYSTEM_ERROR_WIN_H_

#include <windows.h>

#include <string>

namespace bar {

// FormatMessageW's text for a Win32 error or an HRESULT, without trailing
// blanks, line breaks and full stops (the report adds its own full stop);
// "Error 0x<code, 8 hex digits>" when the system has no text for it.
std::u16string SystemErrorText(DWORD code);

}  // namespace bar

#endif  // KELVANE_BAR_SYSTEM_ERROR_WIN_H_
