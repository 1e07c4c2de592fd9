// Expanding a sub-bar: its entries, behind a marker entry, appended to the
// main bar with numbers that follow the main bar's own.
#ifndef KELVANE_BAR_EXPAND_H_
#define KELVANE_BAR_EXPAND_H_

#include "bar/toggle.h"

namespace bar {

// Add: loads the sub-bar file into t.sub_bar, merges the entries of its button
// section into the button section of t.main_bar (as the start-up left it:
// freshly loaded from the main bar file), saves the main bar file and sends
// t.send_tc_command(2901) twice. Only the main bar file is written; nothing
// is written or sent when anything fails. Everything of both files but the
// button entries stays where it is (bar_parts.h); the sub-bar's other lines
// stay in its file.
//
// The marker entry takes the number btc1 + 1, btc1 being the main bar's
// count; sub-bar entry n becomes n + btc1 + 1, the new count is btc1 +
// (sub-bar count) + 1, and the block follows the main bar's last entry line.
// Throws BarFormatError, before anything is written, for a bar without a
// button section or count line, and for what the collapse could not give
// back exactly: a negative count, numbers beyond the 32-bit range, a main
// bar entry numbered above its count (the file manager hides it), this
// sub-bar unfolded already under another spelling or in an edited marker
// line, a key whose digits do not stand together or start with a zero, an
// entry numbered 0, and a sub-bar that holds what reads as the marker entry
// of another sub-bar (FindBlockMarkers). A bar of fewer than two lines gives
// the index error for line 1.
void Add(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_EXPAND_H_
