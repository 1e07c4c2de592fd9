#include "bar/toggle.h"

namespace bar {

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

void NotifyFileManager(const Toggle& t) {
  if (!t.send_tc_command) return;
  t.send_tc_command(kReloadBarCommand);
  t.send_tc_command(kReloadBarCommand);
}

}  // namespace bar
