// One toggle, as a run of the program with an argument makes it: the bar
// loaded, the decision, and the expand (Add) or the collapse (Remove).
#ifndef KELVANE_BAR_TOGGLE_H_
#define KELVANE_BAR_TOGGLE_H_

#include "bar/marker.h"
#include "bar/toggle_context.h"

namespace bar {

// Loads the edited bar's file (t.BarFile()) into t.main_bar, cleared first,
// and decides (DecideToggle): collapses this sub-bar's block (Remove), or
// expands it (Add) unless the other bar's file, if set, holds it unfolded
// in any spelling (HoldsUnfolded) or cannot be read, or, for a bar without
// lines, does nothing. Returns what it did. Throws BarFormatError, before
// reading anything, when the edited bar's setting is empty; otherwise the
// exception of the step that failed.
ToggleAction RunToggle(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_TOGGLE_H_
