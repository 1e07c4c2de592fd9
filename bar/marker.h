// The marker entry: the three lines the expand puts in front of a sub-bar's
// block ("button<m>=<par>x1", "cmd<m>=-2", "iconic<m>=0"), and how the
// start-up decision and the collapse find it again.
#ifndef KELVANE_BAR_MARKER_H_
#define KELVANE_BAR_MARKER_H_

#include <string>
#include <string_view>

#include "bar/line_list.h"

namespace bar {

// par + "x1".
std::u16string MarkerText(std::u16string_view par);

enum class ToggleAction { kNothing, kExpand, kCollapse };

// The start-up decision on the freshly loaded main bar: nothing for a bar
// without lines, collapse when it holds this sub-bar's marker entry,
// expand otherwise.
ToggleAction DecideToggle(const LineList& main_bar, std::u16string_view par);

}  // namespace bar

#endif  // KELVANE_BAR_MARKER_H_
