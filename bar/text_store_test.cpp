#include "bar/text_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace bar {
namespace {

// Text kept in many sizes, small and beyond a block, some of it copied from
// the store itself, stays where it is through moves; a moved-from store is
// empty and keeps text of its own again.
TEST(TextStoreTest, KeptTextStaysThroughMoreTextAndMoves) {
  TextStore store;
  std::vector<std::pair<std::u16string_view, std::u16string>> kept;
  for (int k = 0; k < 200; ++k) {
    const std::u16string text(static_cast<std::size_t>(k * k % 30000),
                              static_cast<char16_t>(u'a' + k % 26));
    kept.emplace_back(store.Keep(text), text);
    if (k % 7 != 0) continue;
    const auto earlier = kept[static_cast<std::size_t>(k / 2)];
    kept.emplace_back(store.Keep(earlier.first), earlier.second);
  }
  const std::u16string whole = u"a file's text, taken over whole";
  kept.emplace_back(store.Adopt(whole), whole);
  TextStore moved(std::move(store));
  TextStore assigned;
  assigned.Keep(u"goes");
  assigned = std::move(moved);
  for (const auto& [view, text] : kept) ASSERT_EQ(view, text);
  EXPECT_EQ(store.Keep(u"again"), u"again");
  EXPECT_EQ(store.Keep(u""), u"");
}

}  // namespace
}  // namespace bar
