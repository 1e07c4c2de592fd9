// Expanding a sub-bar: its entries, behind a marker entry, appended to the
// main bar with numbers that follow the main bar's own.
#ifndef KELVANE_BAR_EXPAND_H_
#define KELVANE_BAR_EXPAND_H_

#include "bar/toggle.h"

namespace bar {

// Loads the sub-bar file into t.sub_bar, merges it into t.main_bar (as the
// start-up left it: freshly loaded from the main bar file), saves the main
// bar file and sends t.send_tc_command(2901) twice. Only the main bar file
// is written; nothing is written or sent when anything fails.
void Expand(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_EXPAND_H_
