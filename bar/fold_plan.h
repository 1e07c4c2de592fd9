// Which blocks fold along when a sub-bar is folded: the blocks nested in it,
// opened only by Kelvane's own buttons inside the blocks that fold, so that
// an outer fold leaves no row behind whose only button went with it.
#ifndef KELVANE_BAR_FOLD_PLAN_H_
#define KELVANE_BAR_FOLD_PLAN_H_

#include <string>
#include <string_view>
#include <vector>

#include "bar/line_list.h"
#include "bar/own_button.h"

namespace bar {

// The sub-bars a fold of `par` in the plain bar folds, as their markers
// spell them, in the order they fold: every block that par's block opens
// (holds an own button for it), or that a block so found opens, at any
// depth, unless an own button outside these blocks opens it too or opens a
// block that opens it; from the block whose marker stands last backwards,
// then par. A block folds along only under its exact marker (AllBlockMarkers).
// Just {par} when its block has no exact marker or the bar no own button.
std::vector<std::u16string> FoldOrder(const LineList& plain_bar, std::u16string_view par,
                                      const Program& program);

}  // namespace bar

#endif  // KELVANE_BAR_FOLD_PLAN_H_
