#include "bar/marker.h"

#include <gtest/gtest.h>

#include "bar/unicode.h"

namespace bar {
namespace {

LineList ListOf(const std::vector<std::u16string>& lines) {
  LineList list;
  for (const std::u16string& line : lines) list.Add(line);
  return list;
}

TEST(MarkerTest, MarkerEntryIsTheThreeLinesTheExpandAppends) {
  EXPECT_EQ(MarkerText(u"tools.bar"), u"tools.barx1");
  EXPECT_EQ(MarkerEntry(3, u"tools.bar"),
            (std::vector<std::u16string>{u"button3=tools.barx1", u"cmd3=-2", u"iconic3=0"}));
  EXPECT_EQ(MarkerEntry(2147483647, u"b"),
            (std::vector<std::u16string>{u"button2147483647=bx1", u"cmd2147483647=-2",
                                         u"iconic2147483647=0"}));
}

TEST(MarkerTest, OnlyThisSubBarsButtonLineIsItsMarkerLine) {
  struct Case {
    const char16_t* line;
    bool is_marker;
  } cases[] = {
      {u"button3=a.barx1", true},
      {u"button007=a.barx1", true},
      {u"button6=data.barx1", false},  // a longer name that ends in a.bar
      {u"cmd1=open a.barx1", false},   // the text inside a value
      {u"button3=a.barx1 ", false},
      {u"button3=A.barx1", false},  // letter case counts
      {u"Button3=a.barx1", false},
      {u"button=a.barx1", false},   // no number
      {u"button3x=a.barx1", false},  // more than the word and digits
      {u"xbutton3=a.barx1", false},
      {u"button 3=a.barx1", false},
      {u"button3=a.barx1=", false},
      {u"button2147483648=a.barx1", false},  // not a 32-bit number
      {u"cmd3=a.barx1", false},
      {u"a.barx1", false},
      {u"[Buttonbar]", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    EXPECT_EQ(IsMarkerLine(c.line, u"a.bar"), c.is_marker);
  }
}

TEST(MarkerTest, DecideToggle) {
  struct Case {
    const char* name;
    std::vector<std::u16string> lines;
    ToggleAction action;
  } cases[] = {
      {"empty main bar", {}, ToggleAction::kNothing},
      {"one line", {u"[Buttonbar]"}, ToggleAction::kExpand},
      {"not expanded",
       {u"[Buttonbar]", u"Buttoncount=1", u"button1=a.ico", u"cmd1=a.exe"},
       ToggleAction::kExpand},
      {"expanded",
       {u"[Buttonbar]", u"Buttoncount=4", u"button1=a.ico", u"button2=a.barx1", u"cmd2=-2",
        u"iconic2=0", u"button3=z.ico"},
       ToggleAction::kCollapse},
      {"only data.bar expanded",
       {u"[Buttonbar]", u"Buttoncount=2", u"button1=data.barx1", u"cmd1=-2", u"iconic1=0"},
       ToggleAction::kExpand},
      {"a value that holds the marker text",
       {u"[Buttonbar]", u"Buttoncount=1", u"button1=x.ico", u"cmd1=notepad a.barx1"},
       ToggleAction::kExpand},
      {"expanded under another letter case",
       {u"[Buttonbar]", u"Buttoncount=1", u"button1=A.BARx1", u"cmd1=-2", u"iconic1=0"},
       ToggleAction::kExpand},
      {"the marker line anywhere, unsorted",
       {u"button9=a.barx1", u"[Buttonbar]", u"Buttoncount=9"},
       ToggleAction::kCollapse},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecideToggle(ListOf(c.lines), u"a.bar"), c.action);
  }
}

TEST(MarkerTest, LowestBlockMarkerNeedsAnXOneButtonAndALineBreakOfOneNumber) {
  struct Case {
    const char* name;
    std::vector<std::u16string> lines;
    int32_t first;
    int64_t above;
    std::optional<int32_t> found;
  } cases[] = {
      {"a marker entry", {u"button5=b.barx1", u"cmd5=-2", u"iconic5=0"}, 0, 0, 5},
      {"any name", {u"cmd5=-2", u"button5=b.txtx1"}, 0, 0, 5},
      {"the lowest of several",
       {u"button9=c.barx1", u"cmd9=-2", u"button7=b.barx1", u"cmd7=-2"}, 0, 0, 7},
      {"only above", {u"button3=b.barx1", u"cmd3=-2", u"button8=c.barx1", u"cmd8=-2"}, 0, 3, 8},
      {"nothing above", {u"button3=b.barx1", u"cmd3=-2"}, 0, 3, std::nullopt},
      {"a line break of the file manager", {u"button4=", u"cmd4=-2"}, 0, 0, std::nullopt},
      {"the value x1 alone", {u"button4=x1", u"cmd4=-2"}, 0, 0, std::nullopt},
      {"no line break", {u"button4=b.barx1", u"cmd4=b.exe"}, 0, 0, std::nullopt},
      {"line break of another entry", {u"button4=b.barx1", u"cmd5=-2"}, 0, 0, std::nullopt},
      {"cmd value -2 with a blank", {u"button4=b.barx1", u"cmd4=-2 "}, 0, 0, std::nullopt},
      {"keys with more than the word and digits",
       {u"button4x=b.barx1", u"cmd4=-2", u"button6=b.barx1", u"cmd6x=-2"}, 0, 0, std::nullopt},
      {"lines before first", {u"button4=b.barx1", u"cmd4=-2", u"x=1"}, 2, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LowestBlockMarker(ListOf(c.lines), c.first, c.above), c.found);
  }
}

}  // namespace
}  // namespace bar
