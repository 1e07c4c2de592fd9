#include "app/report_text.h"

#include "bar/unicode.h"
#include "gtest/gtest.h"

namespace app {
namespace {

TEST(ReportTextTest, FullStopAfterCodesAbove46Only) {
  struct Case {
    const char16_t* message;
    const char16_t* text;
  } const cases[] = {
      {u"'x' is not a valid integer value", u"'x' is not a valid integer value."},
      {u"List index out of bounds (5).  TStringList range is 0..2",
       u"List index out of bounds (5).  TStringList range is 0..2."},
      {u"Unable to write to C:\\K\\kelvane.ini", u"Unable to write to C:\\K\\kelvane.ini."},
      {u"Stream write error", u"Stream write error."},
      {u"ends in a digit 7", u"ends in a digit 7."},
      {u"ends in a slash/", u"ends in a slash/."},  // "/" is 47
      {u"Кириллица", u"Кириллица."},
      {u"Already done.", u"Already done."},
      {u"blank ", u"blank "},
      {u"bang!", u"bang!"},
      {u"paren)", u"paren)"},
      {u"comma,", u"comma,"},
      {u"dash-", u"dash-"},  // 45
      {u"tab\t", u"tab\t"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(bar::ToUtf8(c.message));
    EXPECT_EQ(ReportText(c.message), c.text);
  }
}

}  // namespace
}  // namespace app
