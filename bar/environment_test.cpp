#include "bar/environment.h"

#include <gtest/gtest.h>

#include <map>

#include "bar/unicode.h"

namespace bar {
namespace {

TEST(EnvironmentTest, ExpandsSetNamesAndKeepsTheRestAsWritten) {
  const std::map<std::u16string, std::u16string> set = {
      {u"COMMANDER_PATH", u"C:\\totalcmd"}, {u"EMPTY", u""}, {u"LOOP", u"%LOOP%"}};
  const Environment environment = [&set](std::u16string_view name) {
    const auto found = set.find(std::u16string(name));
    return found == set.end() ? std::nullopt : std::optional<std::u16string>(found->second);
  };
  const struct {
    const char16_t* text;
    const char16_t* expanded;
  } cases[] = {
      {u"%COMMANDER_PATH%\\Bars\\tools.bar", u"C:\\totalcmd\\Bars\\tools.bar"},
      {u"a%EMPTY%b", u"ab"},
      {u"%UNSET%\\x.bar", u"%UNSET%\\x.bar"},
      {u"%UNSET%%COMMANDER_PATH%", u"%UNSET%C:\\totalcmd"},
      {u"%LOOP%", u"%LOOP%"},  // a value is not expanded again
      {u"100%", u"100%"},
      {u"%%", u"%%"},
      {u"tools.bar", u"tools.bar"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(ExpandVariables(c.text, environment), c.expanded);
  }
  EXPECT_EQ(ExpandVariables(u"%COMMANDER_PATH%", Environment()), u"%COMMANDER_PATH%");
}

}  // namespace
}  // namespace bar
