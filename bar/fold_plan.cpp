#include "bar/fold_plan.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

#include "bar/marker.h"

namespace bar {

namespace {

// The blocks of a bar, in marker order, and after them the part ahead of
// the first marker: each node with the blocks its own buttons open.
using Openings = std::vector<std::vector<std::size_t>>;

// The node that holds entry n: the block of the last marker numbered n or
// below, or the part ahead of the first marker.
std::size_t NodeHolding(const std::vector<BlockMarker>& markers, int32_t n) {
  const auto after = std::upper_bound(
      markers.begin(), markers.end(), n,
      [](int32_t number, const BlockMarker& marker) { return number < marker.number; });
  if (after == markers.begin()) return markers.size();
  return static_cast<std::size_t>(after - markers.begin()) - 1;
}

Openings ReadOpenings(const std::vector<BlockMarker>& markers, const std::vector<OwnButton>& own,
                      const Environment& environment) {
  std::unordered_map<std::u16string, std::size_t> block_named;
  for (std::size_t block = 0; block < markers.size(); ++block) {
    if (!markers[block].exact) continue;
    block_named.emplace(ExpandVariables(markers[block].name, environment), block);
  }
  Openings opens(markers.size() + 1);
  for (const OwnButton& button : own) {
    const auto opened = block_named.find(button.sub_bar);
    if (opened == block_named.end()) continue;
    opens[NodeHolding(markers, button.number)].push_back(opened->second);
  }
  return opens;
}

// Marks every node the marked ones open, at any depth, but `barrier`.
void MarkOpened(const Openings& opens, std::size_t barrier, std::vector<bool>& marked) {
  std::vector<std::size_t> pending;
  for (std::size_t node = 0; node < marked.size(); ++node) {
    if (marked[node]) pending.push_back(node);
  }
  while (!pending.empty()) {
    const std::size_t node = pending.back();
    pending.pop_back();
    for (const std::size_t opened : opens[node]) {
      if (opened == barrier || marked[opened]) continue;
      marked[opened] = true;
      pending.push_back(opened);
    }
  }
}

}  // namespace

std::vector<std::u16string> FoldOrder(const LineList& plain_bar, std::u16string_view par,
                                      const Program& program) {
  const std::vector<BlockMarker> markers = AllBlockMarkers(plain_bar, 2);
  const auto folded_marker =
      std::find_if(markers.begin(), markers.end(),
                   [par](const BlockMarker& marker) { return marker.exact && marker.name == par; });
  std::vector<std::u16string> order;
  const std::vector<OwnButton> own = folded_marker == markers.end()
                                         ? std::vector<OwnButton>()
                                         : FindOwnButtons(plain_bar, program);
  if (!own.empty()) {
    const std::size_t folded = static_cast<std::size_t>(folded_marker - markers.begin());
    const Openings opens = ReadOpenings(markers, own, program.environment);
    std::vector<bool> nested(opens.size(), false);
    nested[folded] = true;
    MarkOpened(opens, opens.size(), nested);
    // What stays unfolded keeps open what it opens: the buttons ahead of
    // the first marker and every block the fold does not reach. A path
    // through the folded block itself does not count.
    std::vector<bool> stays(opens.size());
    for (std::size_t node = 0; node < opens.size(); ++node) stays[node] = !nested[node];
    MarkOpened(opens, folded, stays);
    for (std::size_t block = markers.size(); block-- > 0;) {
      if (block != folded && nested[block] && !stays[block]) order.push_back(markers[block].name);
    }
  }
  order.emplace_back(par);
  return order;
}

}  // namespace bar
