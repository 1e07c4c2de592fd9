// The marker entry: the three lines the expand puts in front of a sub-bar's
// block ("button<m>=<par>x1", "cmd<m>=-2", "iconic<m>=0"), and how the
// start-up decision and the collapse find it again.
#ifndef KELVANE_BAR_MARKER_H_
#define KELVANE_BAR_MARKER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bar/line_list.h"

namespace bar {

// par + "x1".
std::u16string MarkerText(std::u16string_view par);

// The marker entry numbered m, in the order the expand appends it.
std::vector<std::u16string> MarkerEntry(int32_t m, std::u16string_view par);

// True for the button line of this sub-bar's marker entry: a key made of
// "button" and decimal digits alone, and after the first "=" exactly
// MarkerText(par), letter case included. "button6=data.barx1" is not a.bar's
// marker line, nor is a value that merely contains "a.barx1".
bool IsMarkerLine(std::u16string_view line, std::u16string_view par);

// The marker entries of any sub-bar among the lines of a plain bar from
// index `first` on whose numbers lie above `above`: a "button<n>=<value>"
// whose value ends in "x1" and is longer, with a "cmd<n>=-2", both read
// loosely (ReadKeyedLine: "cmd5=-2 " and "button5 = b.barx1" count). A line
// break of the file manager ("cmd<n>=-2", empty button value) is not one.
struct BlockMarkers {
  // The lowest number of a marker entry.
  std::optional<int32_t> lowest;
  // The first button line below `lowest` whose value ends in "x1" but whose
  // number has no cmd line at all: the marker entry of a sub-bar whose cmd
  // line was removed, or a button with an odd icon name; nobody can tell.
  std::optional<std::u16string> doubtful;
};
BlockMarkers FindBlockMarkers(const LineList& list, int32_t first, int64_t above);

// Every marker entry from index `first` on, as FindBlockMarkers reads them,
// in number order: its number, its sub-bar's name (the button value without
// "x1"), and whether its button line is IsMarkerLine for that name, the
// only marker a toggle for the name folds.
struct BlockMarker {
  int32_t number;
  std::u16string name;
  bool exact;
};
std::vector<BlockMarker> AllBlockMarkers(const LineList& list, int32_t first);

// The first button line of a plain bar that reads loosely as the marker
// line of this sub-bar under another spelling: its value is MarkerText of a
// name the file system takes for par (SameFileName), but the line is not
// IsMarkerLine(line, par) ("button3=Tools.barx1" for tools.bar, or
// "button3 = tools.barx1").
std::optional<std::u16string> UnfoldedSpelling(const LineList& plain_bar, std::u16string_view par);

// True when a line of the button section of a bar's lines reads as this
// sub-bar's marker line under any spelling: IsMarkerLine, or a line
// UnfoldedSpelling would find.
bool HoldsUnfolded(const std::vector<std::u16string_view>& lines, std::u16string_view par);

enum class ToggleAction { kNothing, kExpand, kCollapse };

// The start-up decision on the freshly loaded main bar: nothing for a bar
// without lines, collapse when a line of its button section is this
// sub-bar's marker line (IsMarkerLine), expand otherwise (the expand then
// refuses a bar without a button section).
ToggleAction DecideToggle(const LineList& main_bar, std::u16string_view par);

}  // namespace bar

#endif  // KELVANE_BAR_MARKER_H_
