#include "app/command_line.h"

namespace app {

std::u16string CommandLineToken(const std::u16string& command_line, int index) {
  (void)command_line;
  (void)index;
  return {};
}

}  // namespace app
