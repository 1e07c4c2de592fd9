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
//
// The marker entry takes the number base + 1, where base is the higher of
// the main bar's count and its highest entry number; sub-bar entry n
// becomes n + base + 1 and the new count is base + (sub-bar count) + 1.
// Throws BarFormatError, before anything is written, for what the collapse
// could not give back exactly: a negative count, numbers beyond the 32-bit
// range, a sub-bar line without "=", a key whose digits do not stand
// together or start with a zero, an entry numbered 0, a sub-bar that
// holds the marker entry of another sub-bar, and a bar whose first two
// lines are not "[Buttonbar]" and its count line (MisplacedHeaderLine).
void Expand(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_EXPAND_H_
