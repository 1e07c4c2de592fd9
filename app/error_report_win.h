// The error report: the one way a failure reaches the user.
#ifndef KELVANE_APP_ERROR_REPORT_WIN_H_
#define KELVANE_APP_ERROR_REPORT_WIN_H_

#include <string>

namespace app {

// For a catch (...) block: reports the exception being handled in a modal
// message box with ReportText(its message), the program title as its
// caption, one OK button and the stop icon; EAbort is dropped silently. The
// program's windows take no input meanwhile, and the window that was active
// and the keyboard focus come back afterwards.
void ReportCurrentException() noexcept;

}  // namespace app

#endif  // KELVANE_APP_ERROR_REPORT_WIN_H_
