// The error report: the one way a failure reaches the user.
#ifndef KELVANE_APP_ERROR_REPORT_WIN_H_
#define KELVANE_APP_ERROR_REPORT_WIN_H_

#include <string>

namespace app {

// A modal message box with ReportText(message), the program title as its
// caption, one OK button and the stop icon. It waits for the user; the
// program's windows take no input meanwhile, and the window that was active
// and the keyboard focus come back afterwards.
void ShowErrorReport(const std::u16string& message) noexcept;

// For a catch (...) block: reports the exception being handled. EAbort is
// dropped silently; the core's errors show their message.
void ReportCurrentException() noexcept;

}  // namespace app

#endif  // KELVANE_APP_ERROR_REPORT_WIN_H_
