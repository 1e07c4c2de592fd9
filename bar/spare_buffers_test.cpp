#include "bar/spare_buffers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace bar {
namespace {

// A large buffer given back serves the next request that fits, empty and
// with its memory; a small request or a small buffer takes no kept one.
TEST(SpareBuffersTest, LargeBuffersServeTheNextLoad) {
  std::u16string large = TakeBuffer<std::u16string>(1 << 20);
  large.assign(1000, u'x');
  const char16_t* memory = large.data();
  GiveBack(std::move(large));

  const std::u16string small = TakeBuffer<std::u16string>(10);
  EXPECT_NE(small.data(), memory);
  std::u16string again = TakeBuffer<std::u16string>(1 << 20);
  EXPECT_EQ(again.data(), memory);
  EXPECT_TRUE(again.empty());
  EXPECT_GE(again.capacity(), std::size_t{1} << 20);

  std::string tiny = TakeBuffer<std::string>(100);
  EXPECT_GE(tiny.capacity(), 100u);
  GiveBack(std::move(tiny));
  GiveBack(std::move(again));
}

}  // namespace
}  // namespace bar
