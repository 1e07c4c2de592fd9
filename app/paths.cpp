#include "app/paths.h"

namespace app {
}  // namespace app
