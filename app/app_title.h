// The application title: the caption of every error report.
#ifndef KELVANE_APP_APP_TITLE_H_
#define KELVANE_APP_APP_TITLE_H_

#include <string>

namespace app {

// Lower-cases a text in place with the platform's mapping.
using LowerCaseFunction = void (*)(std::u16string& text);

// The executable's name from its full path: the part after the last "\",
// cut before its first ".", every character but the first lower-cased with
// lower_case. TOOL.EXE gives "Tool", tool.old.exe gives "tool".
std::u16string ApplicationTitle(const std::u16string& exe_path, LowerCaseFunction lower_case);

}  // namespace app

#endif  // KELVANE_APP_APP_TITLE_H_
