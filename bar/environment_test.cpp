#include "bar/environment.h"

#include <gtest/gtest.h>

#include "bar/unicode.h"

namespace bar {
namespace {

TEST(EnvironmentTest, ExpandsSetNamesAndKeepsTheRestAsWritten) {
  const Environment environment = [](std::u16string_view name) -> std::optional<std::u16string> {
    if (name == u"COMMANDER_PATH") return u"C:\\totalcmd";
    if (name == u"LOOP") return u"%LOOP%";
    return std::nullopt;
  };
  const struct {
    const char16_t* text;
    const char16_t* expanded;
  } cases[] = {
      {u"%COMMANDER_PATH%\\Bars\\tools.bar", u"C:\\totalcmd\\Bars\\tools.bar"},
      {u"%UNSET%%COMMANDER_PATH%", u"%UNSET%C:\\totalcmd"},
      {u"%LOOP%", u"%LOOP%"},  // a value is not expanded again
      {u"100% %%", u"100% %%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(ExpandVariables(c.text, environment), c.expanded);
  }
  EXPECT_EQ(ExpandVariables(u"%COMMANDER_PATH%", Environment()), u"%COMMANDER_PATH%");
}

}  // namespace
}  // namespace bar
