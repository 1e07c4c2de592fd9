// Expanding a sub-bar: its entries, behind a marker entry, appended to the
// edited bar with numbers that follow the bar's own.
#ifndef KELVANE_BAR_EXPAND_H_
#define KELVANE_BAR_EXPAND_H_

#include "bar/toggle_context.h"

namespace bar {

// Add: loads the sub-bar file into t.sub_bar and appends its entries, behind
// the marker entry, to the button section of t.main_bar as RunToggle left
// it, its own buttons shown unfolded (ShowState); saves that bar's file
// alone, then NotifyFileManager. Every line but the button entries stays
// where it stands (bar_parts.h). Throws, before
// anything is written: the load's errors, the index error for a bar of
// fewer than two lines, BarFormatError for what a collapse could not give
// back exactly.
void Add(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_EXPAND_H_
