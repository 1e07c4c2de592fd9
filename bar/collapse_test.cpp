#include "bar/collapse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/scoped_code_page.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::EncodeBarFile;
using testing_support::LinesOf;

using testing_support::BarContent;
using testing_support::ContentOf;
using testing_support::Describe;
using testing_support::Lines;
using testing_support::MemoryFileSystem;
using testing_support::ToggleRig;

// The worked example: edit and calc of the main bar, zip and ftp of tools.bar.
const Lines kExpandedTools = {u"[Buttonbar]",   u"Buttoncount=5",    u"iconic1=0",
                              u"cmd1=edit.exe", u"button1=edit.ico", u"iconic2=0",
                              u"cmd2=calc.exe", u"button2=calc.ico", u"button3=tools.barx1",
                              u"cmd3=-2",       u"iconic3=0",        u"button4=zip.ico",
                              u"cmd4=zip.exe",  u"iconic4=0",        u"button5=ftp.ico",
                              u"cmd5=ftp.exe",  u"iconic5=0"};

TEST(CollapseTest, WorkedExample) {
  ToggleRig rig;
  rig.SetMain(kExpandedTools);
  rig.SetSub(u"tools.bar", {u"[Buttonbar]", u"Buttoncount=9", u"button1=old.ico"});

  EXPECT_EQ(rig.Run(u"tools.bar"), ToggleAction::kCollapse);

  // The sub-bar file is rebuilt from the block, its lines in the order the
  // take-out met them in the sorted main bar.
  EXPECT_EQ(rig.Sub(u"tools.bar"),
            (Lines{u"[Buttonbar]", u"Buttoncount=2", u"iconic1=0", u"cmd1=zip.exe",
                   u"button1=zip.ico", u"iconic2=0", u"cmd2=ftp.exe", u"button2=ftp.ico"}));
  EXPECT_EQ(rig.Main(),
            (Lines{u"[Buttonbar]", u"Buttoncount=2", u"iconic1=0", u"cmd1=edit.exe",
                   u"button1=edit.ico", u"iconic2=0", u"cmd2=calc.exe", u"button2=calc.ico"}));
  EXPECT_EQ(rig.files.events,
            (std::vector<std::u16string>{
                u"read C:\\tc\\Bar\\main.bar", u"read C:\\tc\\Bar\\main.bar",
                u"read C:\\tc\\Bar\\tools.bar", u"replace C:\\tc\\Bar\\tools.bar",
                u"replace C:\\tc\\Bar\\main.bar", u"notify 2901", u"notify 2901"}));
}

// Bars of the shape the file manager writes: entries 1..n, each a button,
// cmd and iconic line.
Lines Bar(int32_t count, const std::u16string& tag, int32_t entries = -1) {
  if (entries < 0) entries = count;
  Lines lines = {u"[Buttonbar]", u"Buttoncount=" + IntToStr(count)};
  for (int32_t n = 1; n <= entries; ++n) {
    const std::u16string k = IntToStr(n);
    lines.push_back(u"button" + k + u"=" + tag + k + u".ico");
    lines.push_back(u"cmd" + k + u"=" + tag + k + u".exe");
    lines.push_back(u"iconic" + k + u"=0");
  }
  return lines;
}

#define EXPECT_CONTENT(actual_lines, expected_lines)                        \
  do {                                                                      \
    const BarContent actual_ = ContentOf(actual_lines);                     \
    const BarContent expected_ = ContentOf(expected_lines);                 \
    EXPECT_TRUE(actual_ == expected_) << "actual:\n"                        \
                                      << Describe(actual_) << "expected:\n" \
                                      << Describe(expected_);               \
  } while (0)

TEST(CollapseTest, TwoSubBarsInEitherOrder) {
  for (bool a_first : {true, false}) {
    SCOPED_TRACE(a_first ? "a.bar collapsed first" : "b.bar collapsed first");
    ToggleRig rig;
    rig.SetMain(Bar(2, u"own"));
    rig.SetSub(u"a.bar", Bar(2, u"a"));
    rig.SetSub(u"b.bar", Bar(3, u"b"));
    rig.Run(u"a.bar");
    rig.Run(u"b.bar");
    const BarContent expanded = ContentOf(rig.Main());
    EXPECT_EQ(expanded.count, 9);
    EXPECT_EQ(expanded.entries.at(3).count(u"button3=a.barx1"), 1u);
    EXPECT_EQ(expanded.entries.at(6).count(u"button6=b.barx1"), 1u);
    EXPECT_EQ(expanded.entries.at(9).count(u"button9=b3.ico"), 1u);

    EXPECT_EQ(rig.Run(a_first ? u"a.bar" : u"b.bar"), ToggleAction::kCollapse);
    if (a_first) {
      // b.bar's block moved down over a.bar's: its marker is entry 3 now.
      Lines b_only = Bar(2, u"own");
      b_only[1] = u"Buttoncount=6";
      b_only.insert(b_only.end(), {u"button3=b.barx1", u"cmd3=-2", u"iconic3=0"});
      const Lines b_entries = Bar(3, u"b");
      for (std::size_t i = 2; i < b_entries.size(); ++i) {
        b_only.push_back(RenumberedLine(b_entries[i], EntryNumber(b_entries[i]) + 3));
      }
      EXPECT_CONTENT(rig.Main(), b_only);
      EXPECT_CONTENT(rig.Sub(u"a.bar"), Bar(2, u"a"));
    } else {
      EXPECT_CONTENT(rig.Sub(u"b.bar"), Bar(3, u"b"));
      EXPECT_EQ(ContentOf(rig.Main()).count, 5);
    }

    EXPECT_EQ(rig.Run(a_first ? u"b.bar" : u"a.bar"), ToggleAction::kCollapse);
    EXPECT_CONTENT(rig.Main(), Bar(2, u"own"));
    EXPECT_CONTENT(rig.Sub(u"a.bar"), Bar(2, u"a"));
    EXPECT_CONTENT(rig.Sub(u"b.bar"), Bar(3, u"b"));
    EXPECT_EQ(rig.commands.size(), 8u);
  }
}

// Expand every sub-bar in `expand`, collapse in `collapse`, and expect every
// file to hold what it held before.
struct RoundTripCase {
  const char* name;
  Lines main;
  std::vector<std::pair<std::u16string, Lines>> subs;
  std::vector<std::u16string> expand;
  std::vector<std::u16string> collapse;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class CollapseRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CollapseRoundTripTest, RestoresEveryFile) {
  const RoundTripCase& c = GetParam();
  ToggleRig rig;
  rig.SetMain(c.main);
  for (const auto& [name, lines] : c.subs) rig.SetSub(name, lines);
  for (const std::u16string& name : c.expand) {
    EXPECT_EQ(rig.Run(name), ToggleAction::kExpand) << ToUtf8(name);
  }
  for (const std::u16string& name : c.collapse) {
    EXPECT_EQ(rig.Run(name), ToggleAction::kCollapse) << ToUtf8(name);
  }
  EXPECT_CONTENT(rig.Main(), c.main);
  for (const auto& [name, lines] : c.subs) {
    SCOPED_TRACE(ToUtf8(name));
    EXPECT_CONTENT(rig.Sub(name), lines);
  }
}

const Lines kEmptyBar = {u"[Buttonbar]", u"Buttoncount=0"};

INSTANTIATE_TEST_SUITE_P(
    Table, CollapseRoundTripTest,
    ::testing::Values(
        RoundTripCase{"sub_bar_of_count_0_last",
                      Bar(2, u"m"),
                      {{u"a.bar", kEmptyBar}},
                      {u"a.bar"},
                      {u"a.bar"}},
        RoundTripCase{"sub_bar_of_count_0_followed",
                      Bar(2, u"m"),
                      {{u"a.bar", kEmptyBar}, {u"b.bar", Bar(2, u"b")}},
                      {u"a.bar", u"b.bar"},
                      {u"a.bar", u"b.bar"}},
        RoundTripCase{"main_bar_without_entries",
                      kEmptyBar,
                      {{u"a.bar", Bar(2, u"a")}, {u"b.bar", Bar(1, u"b")}},
                      {u"a.bar", u"b.bar"},
                      {u"a.bar", u"b.bar"}},
        RoundTripCase{"main_bar_without_entries_last_first",
                      kEmptyBar,
                      {{u"a.bar", Bar(2, u"a")}, {u"b.bar", Bar(1, u"b")}},
                      {u"a.bar", u"b.bar"},
                      {u"b.bar", u"a.bar"}},
        RoundTripCase{"count_above_the_entries_last",
                      Bar(2, u"m"),
                      {{u"a.bar", Bar(5, u"a", 3)}},
                      {u"a.bar"},
                      {u"a.bar"}},
        RoundTripCase{"count_above_the_entries_followed",
                      Bar(4, u"m", 2),
                      {{u"a.bar", Bar(5, u"a", 3)}, {u"b.bar", Bar(2, u"b")}},
                      {u"a.bar", u"b.bar"},
                      {u"a.bar", u"b.bar"}},
        RoundTripCase{"gaps",
                      {u"[Buttonbar]", u"Buttoncount=9", u"button2=m2", u"cmd2=m2", u"button9=m9"},
                      {{u"a.bar",
                        {u"[Buttonbar]", u"Buttoncount=8", u"button1=a1", u"cmd3=a3", u"button3=a3",
                         u"iconic7=1", u"button7=a7"}},
                       {u"b.bar", {u"[Buttonbar]", u"Buttoncount=4", u"button4=b4"}}},
                      {u"a.bar", u"b.bar"},
                      {u"a.bar", u"b.bar"}},
        RoundTripCase{"gaps_last_first",
                      {u"[Buttonbar]", u"Buttoncount=9", u"button2=m2", u"cmd2=m2", u"button9=m9"},
                      {{u"a.bar",
                        {u"[Buttonbar]", u"Buttoncount=8", u"button1=a1", u"cmd3=a3", u"button3=a3",
                         u"iconic7=1", u"button7=a7"}},
                       {u"b.bar", {u"[Buttonbar]", u"Buttoncount=4", u"button4=b4"}}},
                      {u"a.bar", u"b.bar"},
                      {u"b.bar", u"a.bar"}},
        RoundTripCase{"names_not_ending_in_bar",
                      Bar(1, u"m"),
                      {{u"a.txt", Bar(2, u"a")}, {u"B.BAR", Bar(2, u"b")}, {u"c", Bar(1, u"c")}},
                      {u"a.txt", u"B.BAR", u"c"},
                      {u"a.txt", u"B.BAR", u"c"}},
        RoundTripCase{"line_breaks_inside_blocks",
                      Bar(1, u"m"),
                      {{u"a.bar",
                        {u"[Buttonbar]", u"Buttoncount=3", u"button1=", u"cmd1=-2",
                         u"button2=x.ico", u"cmd2=x", u"button3=", u"cmd3=-2"}},
                       {u"b.bar", Bar(1, u"b")}},
                      {u"a.bar", u"b.bar"},
                      {u"a.bar", u"b.bar"}},
        RoundTripCase{"aligned_keys_and_text_after_digits",
                      Bar(1, u"m"),
                      {{u"a.bar",
                        {u"[Buttonbar]", u"Buttoncount=2", u"button1  = x", u"menu1 =Tools",
                         u"button2x=z", u"7=seven"}}},
                      {u"a.bar"},
                      {u"a.bar"}},
        RoundTripCase{"a_name_that_ends_in_another",
                      Bar(1, u"m"),
                      {{u"data.bar", Bar(2, u"d")}, {u"a.bar", Bar(1, u"a")}},
                      {u"data.bar", u"a.bar"},
                      {u"a.bar", u"data.bar"}}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

// Shapes of real bars beyond the button entries. Each one, as the main bar
// and as a sub-bar, goes through three blocks folded in every order, with a
// block unfolded and folded again between: every file comes back with every
// line no entry owns in its place, its entries, numbers, count and encoding.
struct ShapeCase {
  const char* name;
  Lines bar;
  Encoding encoding;
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class CollapseShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(CollapseShapeTest, ComesBackWholeInEitherRoleAndEveryOrder) {
  const ShapeCase& c = GetParam();
  for (bool as_main : {true, false}) {
    std::vector<std::u16string> order = {u"a.bar", u"b.bar", u"c.bar"};
    do {
      SCOPED_TRACE((as_main ? "main bar, fold " : "sub-bar a.bar, fold ") +
                   ToUtf8(order[0] + order[1] + order[2]));
      ToggleRig rig;
      std::map<std::u16string, std::string> before = {
          {ToggleRig::MainPath(), EncodeBarFile(as_main ? c.bar : Bar(2, u"m"), c.encoding)},
          {ToggleRig::SubPath(u"a.bar"), EncodeBarFile(as_main ? Bar(2, u"a") : c.bar, c.encoding)},
          {ToggleRig::SubPath(u"b.bar"), EncodeBarFile(Bar(1, u"b"), std::nullopt)},
          {ToggleRig::SubPath(u"c.bar"), EncodeBarFile(Bar(3, u"c"), std::nullopt)}};
      rig.files.files = before;
      for (const char16_t* name : {u"a.bar", u"b.bar", u"c.bar"}) rig.Run(name);
      rig.Run(order[0]);
      rig.Run(order[1]);
      rig.Run(order[1]);
      rig.Run(order[1]);
      rig.Run(order[2]);
      for (const auto& [path, bytes] : before) {
        SCOPED_TRACE(ToUtf8(path));
        EXPECT_CONTENT(rig.LinesOf(path), ToggleRig::LinesOfBytes(bytes));
        EXPECT_EQ(DetectEncoding(rig.files.files.at(path), nullptr),
                  DetectEncoding(bytes, nullptr));
      }
    } while (std::next_permutation(order.begin(), order.end()) && !HasFailure());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, CollapseShapeTest,
    ::testing::Values(
        ShapeCase{"options_section_after",
                  {u"[Buttonbar]", u"Buttoncount=2", u"button1=x", u"cmd1=x", u"button2=y",
                   u"cmd2=y", u"", u"[options]", u"redirect=0"},
                  Encoding::kLegacy},
        ShapeCase{"options_section_before",
                  {u"; written by hand", u"[options]", u"redirect=0", u"", u"[Buttonbar]",
                   u"Buttoncount=1", u"button1=x", u"cmd1=x"},
                  Encoding::kUtf8},
        ShapeCase{"header_in_other_letter_case",
                  {u" [buttonBAR]  ", u"Buttoncount=2", u"button1=x", u"button2=y"},
                  Encoding::kLegacy},
        ShapeCase{"comments_blanks_and_stray_lines",
                  {u"[Buttonbar]", u";my tools", u"Buttoncount=2", u"button1=x", u"   ", u"cmd1=x",
                   u"; button2=old", u"button2=y", u"\"%X%P\" \"%T\""},
                  Encoding::kLegacy},
        ShapeCase{"utf16_with_later_sections",
                  {u"[Buttonbar]", u"Buttoncount=1", u"button1=记事本", u"", u"[Extra]", u"note=Ⅰ"},
                  Encoding::kUtf16LE},
        ShapeCase{"count_line_spelled_otherwise",
                  {u"[Buttonbar]", u"buttoncount = 2", u"button1=x", u"button2=y"},
                  Encoding::kLegacy},
        ShapeCase{"empty_lines_between_entries",
                  {u"[Buttonbar]", u"Buttoncount=3", u"", u"button1  = x", u"cmd1     = x", u"",
                   u"button3  = z", u"", u""},
                  Encoding::kLegacy}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return info.param.name; });

// A marker entry touched by a hand edit or by the file manager still ends
// the block before it; a button that may be one whose cmd line is gone
// stops the collapse.
TEST(CollapseTest, TouchedMarkerEntriesStillEndTheBlockBeforeThem) {
  struct Case {
    const char* name;
    std::u16string from, to;  // b.bar's marker lines, edited
    bool refused;
  } cases[] = {
      {"a blank after -2", u"cmd6=-2", u"cmd6=-2 ", false},
      {"blanks around =", u"button6=b.barx1", u"button6 = b.barx1", false},
      {"letter case of the key", u"cmd6=-2", u"Cmd6=-2", false},
      {"cmd line gone", u"cmd6=-2", u"", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    rig.SetMain(Bar(2, u"m"));
    rig.SetSub(u"a.bar", Bar(2, u"a"));
    rig.SetSub(u"b.bar", Bar(1, u"b"));
    rig.Run(u"a.bar");
    rig.Run(u"b.bar");
    Lines edited = rig.Main();
    std::replace(edited.begin(), edited.end(), c.from, c.to);
    rig.SetMain(edited);
    const auto files_before = rig.files.files;
    if (c.refused) {
      EXPECT_THROW(rig.Run(u"a.bar"), BarFormatError);
      EXPECT_EQ(rig.files.files, files_before);
      continue;
    }
    rig.Run(u"a.bar");
    EXPECT_CONTENT(rig.Sub(u"a.bar"), Bar(2, u"a"));
    EXPECT_EQ(ContentOf(rig.Main()).count, 4);
  }
}

TEST(CollapseTest, EntriesAddedAfterTheExpandJoinTheLastBlock) {
  ToggleRig rig;
  rig.SetMain(Bar(2, u"m"));
  rig.SetSub(u"a.bar", Bar(1, u"a"));
  rig.SetSub(u"b.bar", Bar(2, u"b"));
  rig.Run(u"a.bar");
  rig.Run(u"b.bar");
  // The file manager adds a button behind the last one and counts it.
  Lines added = rig.Main();
  added[1] = u"Buttoncount=8";
  added.insert(added.end(), {u"button8=new.ico", u"cmd8=new.exe"});
  rig.SetMain(added);

  rig.Run(u"a.bar");
  EXPECT_CONTENT(rig.Sub(u"a.bar"), Bar(1, u"a"));
  rig.Run(u"b.bar");
  Lines b_and_new = Bar(3, u"b", 2);
  b_and_new.insert(b_and_new.end(), {u"button3=new.ico", u"cmd3=new.exe"});
  EXPECT_CONTENT(rig.Sub(u"b.bar"), b_and_new);
  EXPECT_CONTENT(rig.Main(), Bar(2, u"m"));
}

// The count comes from the count line: a block whose last entries the count
// hides keeps them hidden, and the main bar keeps the count it had.
TEST(CollapseTest, CountsFollowTheCountLine) {
  struct Case {
    const char* name;
    std::u16string count;  // the expanded main bar's count line, as edited
    std::u16string sub_count;
    std::u16string main_count;
  } cases[] = {
      {"as expanded", u"Buttoncount=5", u"Buttoncount=2", u"Buttoncount=2"},
      {"one more counted", u"Buttoncount=6", u"Buttoncount=3", u"Buttoncount=2"},
      {"the last entry hidden", u"Buttoncount=4", u"Buttoncount=1", u"Buttoncount=2"},
      {"only the marker counted", u"Buttoncount=3", u"Buttoncount=0", u"Buttoncount=2"},
      {"the marker hidden", u"Buttoncount=1", u"Buttoncount=0", u"Buttoncount=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    Lines main = kExpandedTools;
    main[1] = c.count;
    rig.SetMain(main);
    rig.Run(u"tools.bar");
    EXPECT_EQ(rig.Sub(u"tools.bar").at(1), c.sub_count);
    EXPECT_EQ(rig.Main().at(1), c.main_count);
    EXPECT_EQ(rig.Sub(u"tools.bar").size(), 8u);
  }
}

// A sub-bar whose count hides its last entries keeps them hidden as the
// last block. No block can follow it: the main bar hides those entries then,
// and the next expand refuses, naming the line.
TEST(CollapseTest, SubBarCountThatHidesEntries) {
  const Lines hiding = {u"[Buttonbar]", u"Buttoncount=1", u"button1=x", u"button3=z"};
  ToggleRig rig;
  rig.SetMain(Bar(2, u"m"));
  rig.SetSub(u"a.bar", hiding);
  rig.SetSub(u"b.bar", Bar(1, u"b"));
  rig.Run(u"a.bar");
  const std::string expanded = rig.files.files.at(ToggleRig::MainPath());
  EXPECT_THROW(rig.Run(u"b.bar"), BarFormatError);
  EXPECT_EQ(rig.files.files.at(ToggleRig::MainPath()), expanded);
  rig.Run(u"a.bar");
  EXPECT_CONTENT(rig.Sub(u"a.bar"), hiding);
  EXPECT_CONTENT(rig.Main(), Bar(2, u"m"));
}

TEST(CollapseTest, LinesWithoutNumberStayAndAreNotRenumbered) {
  ToggleRig rig;
  rig.SetMain({u"[Buttonbar]", u"Buttoncount=5", u";heading", u"button1=m", u"button2=a.barx1",
               u"cmd2=-2", u"iconic2=0", u"button3=x", u"Buttoncount=99", u"button4=b.barx1",
               u"cmd4=-2", u"button5=y", u"tail line"});
  rig.Run(u"a.bar");
  EXPECT_EQ(rig.Sub(u"a.bar"), (Lines{u"[Buttonbar]", u"Buttoncount=1", u"button1=x"}));
  EXPECT_CONTENT(rig.Main(), (Lines{u"[Buttonbar]", u"Buttoncount=3", u";heading", u"button1=m",
                                    u"button2=b.barx1", u"cmd2=-2", u"button3=y", u"Buttoncount=99",
                                    u"tail line"}));
}

// The sub-bar file is written back in its own encoding; one that is gone
// by the collapse is written anew in the legacy code page.
TEST(CollapseTest, SubBarFileKeepsItsEncoding) {
  const Lines sub = {u"[Buttonbar]", u"Buttoncount=1", u"button1=café"};
  for (const Encoding encoding : {Encoding::kUtf8, Encoding::kUtf16LE, Encoding::kUtf16BE}) {
    SCOPED_TRACE(static_cast<int>(encoding));
    ToggleRig rig;
    rig.SetMain(Bar(1, u"m"));
    const std::string bytes = EncodeBarFile(sub, encoding);
    rig.files.files[ToggleRig::SubPath(u"a.bar")] = bytes;
    rig.Run(u"a.bar");
    rig.Run(u"a.bar");
    EXPECT_EQ(rig.files.files[ToggleRig::SubPath(u"a.bar")], bytes);
  }
  ToggleRig rig;
  rig.SetMain(Bar(1, u"m"));
  rig.files.files[ToggleRig::SubPath(u"a.bar")] = EncodeBarFile(sub, Encoding::kUtf8);
  rig.Run(u"a.bar");
  rig.files.files.erase(ToggleRig::SubPath(u"a.bar"));
  rig.Run(u"a.bar");
  EXPECT_EQ(rig.files.files[ToggleRig::SubPath(u"a.bar")],
            "[Buttonbar]\r\nButtoncount=1\r\nbutton1=caf\xE9\r\n");
}

// A UTF-16 sub-bar with Chinese buttons in a Cyrillic ANSI main bar: the
// code page cannot hold the buttons, and the save falls back to UTF-16.
TEST(CollapseTest, TextTheCodePageCannotHoldSurvivesBothWays) {
  testing_support::ScopedCodePage cyrillic(1251);
  ToggleRig rig;
  const Lines main = {u"[Buttonbar]", u"Buttoncount=1", u"button1=wcmicons.dll,3",
                      u"menu1=Редактор"};
  const Lines sub = {u"[Buttonbar]",  u"Buttoncount=2",    u"button1=%windir%\\notepad.exe",
                     u"menu1=记事本", u"button2=calc.exe", u"menu2=计算器 — 科学"};
  rig.SetMain(main);
  rig.files.files[ToggleRig::SubPath(u"cn.bar")] = EncodeBarFile(sub, Encoding::kUtf16LE);
  ASSERT_EQ(rig.files.files[ToggleRig::MainPath()].substr(0, 11), "[Buttonbar]");

  rig.Run(u"cn.bar");
  const Lines expanded = rig.Main();
  EXPECT_NE(std::find(expanded.begin(), expanded.end(), u"menu4=计算器 — 科学"), expanded.end());

  rig.Run(u"cn.bar");
  EXPECT_CONTENT(rig.Main(), main);
  EXPECT_CONTENT(rig.Sub(u"cn.bar"), sub);
}

struct CollapseFailureCase {
  const char* name;
  Lines main;              // empty: no main bar file
  std::string main_bytes;  // used instead of main when not empty
  MemoryFileSystem::Fault sub_fault;
  MemoryFileSystem::Fault main_fault;
  std::u16string message;
};

void PrintTo(const CollapseFailureCase& c, std::ostream* os) { *os << c.name; }

class CollapseFailureTest : public ::testing::TestWithParam<CollapseFailureCase> {};

// Collapse called as start-up calls it after finding the marker: a failure
// before the saves writes nothing, a failed sub-bar save leaves the main bar
// alone, and no failure is followed by a notification.
TEST_P(CollapseFailureTest, WritesNothingAfterTheFailureAndSendsNothing) {
  const CollapseFailureCase& c = GetParam();
  ToggleRig rig;
  if (!c.main_bytes.empty()) {
    rig.files.files[ToggleRig::MainPath()] = c.main_bytes;
  } else if (!c.main.empty()) {
    rig.SetMain(c.main);
  }
  rig.SetSub(u"tools.bar", {u"[Buttonbar]", u"Buttoncount=0"});
  const auto files_before = rig.files.files;
  rig.files.Fail(ToggleRig::SubPath(u"tools.bar"), c.sub_fault);
  rig.files.Fail(ToggleRig::MainPath(), c.main_fault);
  Toggle toggle = rig.MakeToggle(u"tools.bar");

  try {
    Remove(toggle);
    ADD_FAILURE() << "collapsed";
  } catch (const Error& e) {
    EXPECT_EQ(ToUtf8(e.message()), ToUtf8(c.message));
  }
  EXPECT_TRUE(rig.commands.empty());
  EXPECT_EQ(rig.files.files.count(ToggleRig::MainPath()),
            files_before.count(ToggleRig::MainPath()));
  if (files_before.count(ToggleRig::MainPath())) {
    EXPECT_EQ(rig.files.files.at(ToggleRig::MainPath()), files_before.at(ToggleRig::MainPath()));
  }
  const bool sub_saved = c.main_fault != MemoryFileSystem::Fault::kNone;
  EXPECT_EQ(rig.files.files.at(ToggleRig::SubPath(u"tools.bar")) !=
                files_before.at(ToggleRig::SubPath(u"tools.bar")),
            sub_saved);
}

constexpr auto kNone = MemoryFileSystem::Fault::kNone;

INSTANTIATE_TEST_SUITE_P(
    Table, CollapseFailureTest,
    ::testing::Values(
        CollapseFailureCase{"main_bar_gone",
                            {},
                            "",
                            kNone,
                            kNone,
                            u"Cannot open file \"C:\\tc\\Bar\\main.bar\". The system cannot find "
                            u"the file specified"},
        CollapseFailureCase{"main_bar_invalid_utf8",
                            {},
                            "\xEF\xBB\xBF[Buttonbar]\r\n\xC0\r\n",
                            kNone,
                            kNone,
                            u"No mapping for the Unicode character exists in the target "
                            u"multi-byte code page"},
        CollapseFailureCase{"main_bar_of_one_line",
                            {u"button1=tools.barx1"},
                            "",
                            kNone,
                            kNone,
                            u"List index out of bounds (1).  TListBoxLines range is 0..0"},
        CollapseFailureCase{"count_not_a_number",
                            {u"[Buttonbar]", u"Buttoncount=5 ", u"button3=tools.barx1"},
                            "",
                            kNone,
                            kNone,
                            u"'5 ' is not a valid integer value"},
        CollapseFailureCase{"line_the_sort_cannot_number",
                            {u"[Buttonbar]", u"Buttoncount=3", u"button3=tools.barx1", u"label=x"},
                            "",
                            kNone,
                            kNone,
                            u"'' is not a valid integer value"},
        CollapseFailureCase{
            "marker_gone",
            {u"[Buttonbar]", u"Buttoncount=2", u"button1=a", u"button2=b", u"button3=Tools.barx1"},
            "",
            kNone,
            kNone,
            u"List index out of bounds (-2).  TListBoxLines range is 0..4"},
        CollapseFailureCase{"digits_apart_behind_the_marker",
                            {u"[Buttonbar]", u"Buttoncount=5", u"button3=tools.barx1", u"cmd3=-2",
                             u"button4=x", u"b4t5=y"},
                            "",
                            kNone,
                            kNone,
                            u"Cannot collapse \"C:\\tc\\Bar\\tools.bar\": the main bar's line "
                            u"\"b4t5=y\" has a key whose digits do not stand together, and "
                            u"renumbering it would drop the letters between them"},
        CollapseFailureCase{"leading_zero_behind_the_next_block",
                            {u"[Buttonbar]", u"Buttoncount=6", u"button3=tools.barx1", u"cmd3=-2",
                             u"button4=x", u"button5=b.barx1", u"cmd5=-2", u"button06=y"},
                            "",
                            kNone,
                            kNone,
                            u"Cannot collapse \"C:\\tc\\Bar\\tools.bar\": the main bar's line "
                            u"\"button06=y\" has a key number with a leading zero, and "
                            u"renumbering it would drop it"},
        CollapseFailureCase{"entry_in_place_of_the_header",
                            {u"button1=a", u"Buttoncount=3", u"button3=tools.barx1", u"cmd3=-2"},
                            "",
                            kNone,
                            kNone,
                            u"Cannot collapse \"C:\\tc\\Bar\\tools.bar\": the main bar "
                            u"\"C:\\tc\\Bar\\main.bar\" has no \"[Buttonbar]\" section"},
        CollapseFailureCase{"sub_bar_cannot_be_created", kExpandedTools, "",
                            MemoryFileSystem::Fault::kCreate, kNone,
                            u"Cannot create file \"C:\\tc\\Bar\\tools.bar\". Access is denied"},
        CollapseFailureCase{"sub_bar_write_stops_short", kExpandedTools, "",
                            MemoryFileSystem::Fault::kWrite, kNone, u"Stream write error"},
        CollapseFailureCase{"main_bar_cannot_be_created", kExpandedTools, "", kNone,
                            MemoryFileSystem::Fault::kCreate,
                            u"Cannot create file \"C:\\tc\\Bar\\main.bar\". Access is denied"},
        CollapseFailureCase{"main_bar_write_stops_short", kExpandedTools, "", kNone,
                            MemoryFileSystem::Fault::kWrite, u"Stream write error"}),
    [](const ::testing::TestParamInfo<CollapseFailureCase>& info) { return info.param.name; });

// A sub-bar file the collapse cannot take apart stops it before anything
// is written.
TEST(CollapseTest, SubBarFileTheCollapseCannotKeepStopsIt) {
  const struct {
    std::string bytes;
    std::u16string message;
  } cases[] = {
      {"notes\r\n",
       u"Cannot collapse \"C:\\tc\\Bar\\tools.bar\": it has no \"[Buttonbar]\" section"},
      {std::string("[\0B\0", 4),
       u"File \"C:\\tc\\Bar\\tools.bar\" holds NUL characters (UTF-16 text without a "
       u"byte-order mark?) and cannot be edited without losing them"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.message));
    ToggleRig rig;
    rig.SetMain(kExpandedTools);
    rig.files.files[ToggleRig::SubPath(u"tools.bar")] = c.bytes;
    const auto files_before = rig.files.files;
    try {
      rig.Run(u"tools.bar");
      ADD_FAILURE() << "collapsed";
    } catch (const Error& e) {
      EXPECT_EQ(ToUtf8(e.message()), ToUtf8(c.message));
    }
    EXPECT_EQ(rig.files.files, files_before);
    EXPECT_TRUE(rig.commands.empty());
  }
}

// After the main bar failed to save, the marker is still there: the next
// run collapses again, rebuilds the same sub-bar file and finishes.
TEST(CollapseTest, RunAfterAFailedMainBarSaveFinishesTheCollapse) {
  ToggleRig rig;
  rig.SetMain(kExpandedTools);
  rig.files.Fail(ToggleRig::MainPath(), MemoryFileSystem::Fault::kCreate);
  EXPECT_THROW(rig.Run(u"tools.bar"), CreateError);
  const std::string sub_after_failure = rig.files.files.at(ToggleRig::SubPath(u"tools.bar"));

  rig.files.Fail(ToggleRig::MainPath(), MemoryFileSystem::Fault::kNone);
  rig.files.events.clear();
  EXPECT_EQ(rig.Run(u"tools.bar"), ToggleAction::kCollapse);
  EXPECT_EQ(rig.files.files.at(ToggleRig::SubPath(u"tools.bar")), sub_after_failure);
  EXPECT_EQ(rig.Main().at(1), u"Buttoncount=2");
  EXPECT_EQ(rig.files.events,
            (std::vector<std::u16string>{
                u"read C:\\tc\\Bar\\main.bar", u"read C:\\tc\\Bar\\main.bar",
                u"read C:\\tc\\Bar\\tools.bar", u"replace C:\\tc\\Bar\\tools.bar",
                u"replace C:\\tc\\Bar\\main.bar", u"notify 2901", u"notify 2901"}));
}

// Bar(own + buttons, tag, own), then Kelvane's buttons for the sub-bars
// with the icon.
Lines Opening(int32_t own, const std::u16string& tag, const std::vector<std::u16string>& subs,
              const std::u16string& icon = u"x.ico") {
  Lines lines = Bar(own + static_cast<int32_t>(subs.size()), tag, own);
  for (const std::u16string& sub : subs) {
    const std::u16string k = IntToStr(static_cast<int32_t>(lines.size() - 2) / 3 + 1);
    lines.insert(lines.end(), {u"button" + k + u"=" + icon,
                               u"cmd" + k + u"=\"C:\\Program Files\\K\\kelvane.exe\"",
                               u"param" + k + u"=" + sub});
  }
  return lines;
}

// The edited bar and three sub-bars, unfolded in turn: tools.bar, net.bar,
// zip.bar; and the clicks that fold what folding tools.bar then folds.
struct NestedBars {
  const char* name;
  Lines main, tools, net, zip;
  std::vector<std::u16string> folds;
};

const NestedBars kThreeLevels = {"three levels, each with its own fold button",
                                 Opening(1, u"m", {u"tools.bar"}),
                                 Opening(1, u"t", {u"net.bar", u"tools.bar"}),
                                 Opening(1, u"n", {u"zip.bar", u"net.bar"}),
                                 Bar(2, u"z"),
                                 {u"zip.bar", u"net.bar", u"tools.bar"}};

void Unfold(ToggleRig& rig, const NestedBars& bars, bool vertical) {
  rig.vertical_bar_setting = u"Bar\\vertical.bar";
  rig.SetSub(vertical ? u"vertical.bar" : u"main.bar", bars.main);
  rig.SetSub(u"tools.bar", bars.tools);
  rig.SetSub(u"net.bar", bars.net);
  rig.SetSub(u"zip.bar", bars.zip);
  for (const char16_t* name : {u"tools.bar", u"net.bar", u"zip.bar"}) rig.Run(name, vertical);
}

// Folding tools.bar gives the bytes of the folds one by one (clicks of a
// program that knows no own button), with one save of the bar.
TEST(CollapseTest, NestedBlocksFoldAsTheirOwnClicksWould) {
  const NestedBars cases[] = {
      kThreeLevels,
      {"two levels; a block no button opens stays",
       Opening(1, u"m", {u"tools.bar"}),
       Opening(1, u"t", {u"net.bar"}),
       Bar(2, u"n"),
       Bar(1, u"z"),
       {u"net.bar", u"tools.bar"}},
      {"a button back up",
       Opening(1, u"m", {u"tools.bar"}),
       Opening(0, u"t", {u"net.bar"}),
       Opening(1, u"n", {u"zip.bar"}),
       Opening(1, u"z", {u"net.bar"}),
       {u"zip.bar", u"net.bar", u"tools.bar"}},
      {"also opened from outside, with what it opens",
       Opening(1, u"m", {u"tools.bar", u"net.bar"}),
       Opening(1, u"t", {u"net.bar"}),
       Opening(1, u"n", {u"zip.bar"}),
       Bar(1, u"z"),
       {u"tools.bar"}},
  };
  for (const NestedBars& c : cases) {
    for (const bool vertical : {false, true}) {
      SCOPED_TRACE(c.name + std::string(vertical ? ", vertical" : ""));
      const std::u16string bar = ToggleRig::SubPath(vertical ? u"vertical.bar" : u"main.bar");
      ToggleRig rig, one_by_one;
      Unfold(rig, c, vertical);
      one_by_one.vertical_bar_setting = rig.vertical_bar_setting;
      one_by_one.program_file_name.clear();
      one_by_one.files.files = rig.files.files;
      rig.files.events.clear();

      EXPECT_EQ(rig.Run(u"tools.bar", vertical), ToggleAction::kCollapse);
      for (const std::u16string& name : c.folds) one_by_one.Run(name, vertical);
      EXPECT_EQ(rig.files.files, one_by_one.files.files);
      EXPECT_EQ(std::count(rig.files.events.begin(), rig.files.events.end(), u"replace " + bar), 1);
      EXPECT_EQ(rig.files.events.end()[-3], u"replace " + bar);
      EXPECT_EQ(rig.commands.size(), 8u);
    }
  }
}

// Whichever write fails, the files before it hold their new bytes and the
// others their old ones, and the next click ends as a clean fold does.
TEST(CollapseTest, NestedFoldThatFailsHalfWayEndsWithTheNextClick) {
  ToggleRig clean;
  Unfold(clean, kThreeLevels, false);
  const auto unfolded = clean.files.files;
  clean.Run(u"tools.bar");
  const std::u16string writes[] = {ToggleRig::SubPath(u"zip.bar"), ToggleRig::SubPath(u"net.bar"),
                                   ToggleRig::SubPath(u"tools.bar"), ToggleRig::MainPath()};
  for (std::size_t failing = 0; failing < std::size(writes); ++failing) {
    SCOPED_TRACE(ToUtf8(writes[failing]));
    ToggleRig rig;
    rig.files.files = unfolded;
    rig.files.Fail(writes[failing], MemoryFileSystem::Fault::kCreate);
    EXPECT_THROW(rig.Run(u"tools.bar"), CreateError);
    for (std::size_t k = 0; k < std::size(writes); ++k) {
      EXPECT_EQ(rig.files.files.at(writes[k]),
                (k < failing ? clean.files.files : unfolded).at(writes[k]));
    }
    rig.files.Fail(writes[failing], MemoryFileSystem::Fault::kNone);
    rig.Run(u"tools.bar");
    EXPECT_EQ(rig.files.files, clean.files.files);
    EXPECT_EQ(rig.commands.size(), 2u);
  }
}

// A button with the program's unfold or fold icon shows its sub-bar's
// state, in the bar and in the block that goes back; no other icon changes.
TEST(CollapseTest, OwnButtonsShowTheirSubBarsState) {
  ToggleRig rig;
  rig.SetMain(Opening(0, u"m", {u"tools.bar"}, u"C:\\K\\kelvane.exe,1"));
  Lines tools = Opening(0, u"t", {u"net.bar", u"tools.bar"}, u"kelvane.exe,1");
  tools[5] = u"button2=KELVANE.EXE,1";
  rig.SetSub(u"tools.bar", tools);
  rig.SetSub(u"net.bar", kEmptyBar);
  const auto holds = [&rig](const std::u16string& file, const Lines& lines) {
    const Lines held = rig.Sub(file);
    for (const std::u16string& line : lines) {
      EXPECT_NE(std::find(held.begin(), held.end(), line), held.end()) << ToUtf8(line);
    }
  };
  rig.Run(u"tools.bar");
  holds(u"main.bar",
        {u"button1=C:\\K\\kelvane.exe,2", u"button3=kelvane.exe,1", u"button4=KELVANE.EXE,2"});
  rig.Run(u"net.bar");
  holds(u"main.bar", {u"button1=C:\\K\\kelvane.exe,2", u"button3=kelvane.exe,2"});
  rig.Run(u"tools.bar");
  holds(u"main.bar", {u"button1=C:\\K\\kelvane.exe,1"});
  holds(u"tools.bar", {u"button1=kelvane.exe,1", u"button2=KELVANE.EXE,1"});
}

}  // namespace
}  // namespace bar
