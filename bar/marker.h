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

// The lowest entry number above `above` that holds the marker entry of any
// sub-bar, whatever its name: a line "button<n>=<value>" whose value ends
// in "x1" and is longer than that, and a line "cmd<n>=-2" (each key being
// the word and decimal digits alone). A line break the file manager writes
// itself ("cmd<n>=-2" with an empty button value) is not one. Only lines
// from index `first` on take part.
std::optional<int32_t> LowestBlockMarker(const LineList& list, int32_t first,
                                         int64_t above);

enum class ToggleAction { kNothing, kExpand, kCollapse };

// The start-up decision on the freshly loaded main bar: nothing for a bar
// without lines, collapse when a line is this sub-bar's marker line
// (IsMarkerLine), expand otherwise.
ToggleAction DecideToggle(const LineList& main_bar, std::u16string_view par);

}  // namespace bar

#endif  // KELVANE_BAR_MARKER_H_
