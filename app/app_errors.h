// Failures of the program shell, beside the core's (bar/errors.h).
#ifndef KELVANE_APP_APP_ERRORS_H_
#define KELVANE_APP_APP_ERRORS_H_

#include <string>

#include "bar/errors.h"

namespace app {

// The silent failure: it ends the current operation and no report is shown
// (a cancelled file dialog).
class EAbort {};

[[noreturn]] void Abort();

// A settings write the platform refused: "Unable to write to <settings file>".
class EIniFileException : public bar::Error {
 public:
  using bar::Error::Error;
};

}  // namespace app

#endif  // KELVANE_APP_APP_ERRORS_H_
