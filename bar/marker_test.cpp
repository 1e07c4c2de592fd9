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
      {u"button3=a.barx1", true},     {u"button007=a.barx1", true},
      {u"button6=data.barx1", false},  // a longer name that ends in a.bar
      {u"cmd1=open a.barx1", false},   // the text inside a value
      {u"button3=a.barx1 ", false},   {u"button3=A.barx1", false},  // letter case counts
      {u"Button3=a.barx1", false},    {u"button=a.barx1", false},   // no number
      {u"button3x=a.barx1", false},                                 // more than the word and digits
      {u"xbutton3=a.barx1", false},   {u"button 3=a.barx1", false},
      {u"button3=a.barx1=", false},   {u"button2147483648=a.barx1", false},  // not a 32-bit number
      {u"cmd3=a.barx1", false},       {u"a.barx1", false},
      {u"[Buttonbar]", false},        {u"button3=b.barx1", false},  // as long as the marker text
      {u"button3=a.barx2", false},    {u"button3=a.barx1x1", false},
      {u"button3=a.bar", false},      {u"button3=x1", false},
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
      {"the marker line anywhere in the button section, unsorted",
       {u"[buttonbar]", u"button9=a.barx1", u"Buttoncount=9", u"[Later]"},
       ToggleAction::kCollapse},
      {"the marker line outside the button section",
       {u"button9=a.barx1", u"[Buttonbar]", u"Buttoncount=9", u"[Later]", u"button8=a.barx1"},
       ToggleAction::kExpand},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecideToggle(ListOf(c.lines), u"a.bar"), c.action);
  }
}

TEST(MarkerTest, BlockMarkersAreAnXOneButtonAndALineBreakOfOneNumber) {
  struct Case {
    const char* name;
    std::vector<std::u16string> lines;
    int32_t first;
    int64_t above;
    std::optional<int32_t> found;
    std::optional<std::u16string> doubtful;
  } cases[] = {
      {"a marker entry", {u"button5=b.barx1", u"cmd5=-2", u"iconic5=0"}, 0, 0, 5, {}},
      {"any name", {u"cmd5=-2", u"button5=b.txtx1"}, 0, 0, 5, {}},
      {"the lowest of several",
       {u"button9=c.barx1", u"cmd9=-2", u"button7=b.barx1", u"cmd7=-2"},
       0,
       0,
       7,
       {}},
      {"only above", {u"button3=b.barx1", u"cmd3=-2", u"button8=c.barx1", u"cmd8=-2"}, 0, 3, 8, {}},
      {"nothing above", {u"button3=b.barx1", u"cmd3=-2"}, 0, 3, std::nullopt, {}},
      {"a line break of the file manager", {u"button4=", u"cmd4=-2"}, 0, 0, std::nullopt, {}},
      {"the value x1 alone", {u"button4=x1", u"cmd4=-2"}, 0, 0, std::nullopt, {}},
      {"a button with a command of its own",
       {u"button4=b.barx1", u"cmd4=b.exe"},
       0,
       0,
       std::nullopt,
       {}},
      // Touched by a hand edit or by the file manager, still a marker.
      {"cmd value -2 with a blank", {u"button4=b.barx1", u"cmd4=-2 "}, 0, 0, 4, {}},
      {"blanks around the keys and values", {u"button5 = b.barx1 ", u" cmd5= -2"}, 0, 0, 5, {}},
      {"keys in other letter case", {u"Button5=b.barx1", u"CMD5=-2"}, 0, 0, 5, {}},
      {"cmd line gone", {u"button4=b.barx1", u"cmd5=-2"}, 0, 0, std::nullopt, u"button4=b.barx1"},
      {"keys with more than the word and digits",
       {u"button4x=b.barx1", u"cmd4=-2", u"button6=b.barx1", u"cmd6x=-2"},
       0,
       0,
       std::nullopt,
       u"button6=b.barx1"},
      {"a doubt above the lowest marker is none",
       {u"button3=a.barx1", u"cmd3=-2", u"button7=c.txtx1"},
       0,
       0,
       3,
       {}},
      {"lines before first", {u"button4=b.barx1", u"cmd4=-2", u"x=1"}, 2, 0, std::nullopt, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BlockMarkers markers = FindBlockMarkers(ListOf(c.lines), c.first, c.above);
    EXPECT_EQ(markers.lowest, c.found);
    EXPECT_EQ(markers.doubtful, c.doubtful);
  }
}

}  // namespace
}  // namespace bar
