// Collapsing a sub-bar: its block taken out of the main bar, the sub-bar file
// rebuilt from it, the entries behind it moved down.
#ifndef KELVANE_BAR_COLLAPSE_H_
#define KELVANE_BAR_COLLAPSE_H_

#include "bar/toggle.h"

namespace bar {

// Reloads the main bar file into t.main_bar, moves the sub-bar's block into
// t.sub_bar (renumbered from 1), saves the sub-bar file, then the main bar
// file, then sends t.send_tc_command(2901) twice. Nothing is written or sent
// when anything fails before the first save.
void Collapse(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_COLLAPSE_H_
