#include "bar/toggle.h"

#include <gtest/gtest.h>

#include "bar/entry_key.h"
#include "bar/errors.h"
#include "bar/unicode.h"

namespace bar {
namespace {

TEST(ToggleTest, NumberOfAgreesWithEntryNumberWhereThatSucceeds) {
  struct Case {
    const char16_t* line;
    std::optional<int32_t> number;
  } cases[] = {
      {u"button12=c:\\tools\\a.exe", 12},
      {u"button007=x", 7},
      {u"b1t2=z", 12},
      {u"7=z", 7},
      {u"x1y=2=3", 1},
      {u"cmd2=run5.exe", 2},
      {u"button2147483647=z", 2147483647},
      {u"button00000000002147483647=z", 2147483647},
      {u"button2147483648=z", std::nullopt},
      {u"button99999999999999999999=z", std::nullopt},
      {u"label=z", std::nullopt},
      {u"=abc", std::nullopt},
      {u"Buttoncount=3", std::nullopt},
      {u";note 5", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    EXPECT_EQ(NumberOf(c.line), c.number);
    if (c.number) {
      EXPECT_EQ(EntryNumber(c.line), *c.number);
    } else if (HasKey(c.line)) {
      EXPECT_THROW(EntryNumber(c.line), ConversionError);
    }
  }
}

}  // namespace
}  // namespace bar
