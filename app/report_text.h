// The text of an error report.
#ifndef KELVANE_APP_REPORT_TEXT_H_
#define KELVANE_APP_REPORT_TEXT_H_

#include <string>

namespace app {

// The message with "." appended when it is not empty and its last code unit
// is above 46 (the code of "."): letters and digits get one; ".", blanks,
// control characters and "!" to "-" keep the message as it is.
std::u16string ReportText(const std::u16string& message);

}  // namespace app

#endif  // KELVANE_APP_REPORT_TEXT_H_
