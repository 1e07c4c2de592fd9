// Collapsing a sub-bar: its block taken out of the main bar, the sub-bar file
// rebuilt from it, the entries behind it moved down.
#ifndef KELVANE_BAR_COLLAPSE_H_
#define KELVANE_BAR_COLLAPSE_H_

#include "bar/toggle.h"

namespace bar {

// Reloads the main bar file into t.main_bar, moves the sub-bar's block into
// t.sub_bar (renumbered from 1), saves the sub-bar file, then the main bar
// file, then sends t.send_tc_command(2901) twice. Nothing is written or sent
// when anything fails before the first save; a failed sub-bar save leaves
// the main bar file alone.
//
// The block begins at this sub-bar's marker entry (IsMarkerLine) numbered
// m and ends before the next marker entry of any sub-bar (LowestBlockMarker)
// numbered nm, or, as the last block, takes every entry above m. Entry e of
// the block becomes e - m; an entry e >= nm becomes e - (nm - m). The
// sub-bar's count is nm - m - 1, or for the last block (main count) - m
// (at least 0); the main bar's count loses the counted numbers the block
// held. With no marker line the failure is the index error for index -2.
// Throws BarFormatError, before anything is written, when a line that
// changes its number would lose characters (see RenumberingLoss), and when
// the main bar's first two lines are not its header lines
// (MisplacedHeaderLine), which the collapse rewrites.
void Collapse(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_COLLAPSE_H_
