// Collapsing a sub-bar: its block taken out of the edited bar, the sub-bar
// file rebuilt from it, the entries behind it moved down.
#ifndef KELVANE_BAR_COLLAPSE_H_
#define KELVANE_BAR_COLLAPSE_H_

#include "bar/toggle_context.h"

namespace bar {

// Remove: reloads the edited bar's file into t.main_bar and folds this
// sub-bar's block, first the blocks that fold along (FoldOrder), each one
// as its own collapse would: its block moved into t.sub_bar renumbered from
// 1, its sub-bar file rebuilt (its other lines kept, in its own encoding; a
// missing one written anew), its own buttons shown folded (ShowState). Then
// writes those sub-bar files in that order, the bar's file once, and calls
// NotifyFileManager. Throws, before anything is written, the load's errors,
// the index error for -2 when the marker is gone, and BarFormatError for a
// block it cannot take out exactly; a failed write leaves the files after
// it, the bar's last, as they were.
void Remove(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_COLLAPSE_H_
