// Collapsing a sub-bar: its block taken out of the edited bar, the sub-bar
// file rebuilt from it, the entries behind it moved down.
#ifndef KELVANE_BAR_COLLAPSE_H_
#define KELVANE_BAR_COLLAPSE_H_

#include "bar/toggle_context.h"

namespace bar {

// Remove: reloads the edited bar's file into t.main_bar and moves this
// sub-bar's block into t.sub_bar, renumbered from 1; saves the sub-bar file
// (its other lines kept, in its own encoding; a missing one written anew),
// then the bar's file, then NotifyFileManager. Throws, before anything is
// written, the load's errors, the index error for -2 when the marker is
// gone, and BarFormatError for a block it cannot take out exactly.
void Remove(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_COLLAPSE_H_
