#include "app/app_errors.h"

namespace app {

void Abort() { throw EAbort(); }

}  // namespace app
