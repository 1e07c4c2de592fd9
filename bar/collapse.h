// Collapsing a sub-bar: its block taken out of the main bar, the sub-bar file
// rebuilt from it, the entries behind it moved down.
#ifndef KELVANE_BAR_COLLAPSE_H_
#define KELVANE_BAR_COLLAPSE_H_

#include "bar/toggle.h"

namespace bar {

// Remove: reloads the main bar file into t.main_bar, moves the sub-bar's block out
// of its button section into t.sub_bar (renumbered from 1), saves the
// sub-bar file, then the main bar file, then sends t.send_tc_command(2901)
// twice. Nothing is written or sent when anything fails before the first
// save; a failed sub-bar save leaves the main bar file alone.
//
// The sub-bar file is read again first: its count and entries are replaced,
// everything else in it stays (bar_parts.h), in its own encoding. A missing
// sub-bar file is written anew in the legacy code page; one that cannot be
// read or loaded stops the collapse with that error.
//
// The block begins at this sub-bar's marker entry (IsMarkerLine) numbered
// m and ends before the next marker entry of any sub-bar (FindBlockMarkers)
// numbered nm, or, as the last block, takes every entry above m. Entry e of
// the block becomes e - m; an entry e >= nm becomes e - (nm - m). The
// sub-bar's count is nm - m - 1, or for the last block (main count) - m
// (at least 0); the main bar's count loses the counted numbers the block
// held. With no marker line the failure is the index error for index -2.
// Throws BarFormatError, before anything is written, for a main bar without
// a button section or count line, when a button inside the block might be
// another sub-bar's marker entry whose cmd line is gone, and when a line
// that changes its number would lose characters (see RenumberingLoss).
void Remove(Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_COLLAPSE_H_
