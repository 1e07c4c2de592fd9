#include "bar/expand.h"

#include <gtest/gtest.h>

#include <cctype>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::LinesOf;

using testing_support::Lines;
using testing_support::MemoryFileSystem;
using testing_support::ToggleRig;

const Lines kMainOfTwo = {u"[Buttonbar]", u"Buttoncount=2", u"button1=a.exe", u"cmd1=a",
                          u"iconic1=0",   u"button2=b.exe", u"cmd2=b",        u"iconic2=0"};

// The main bar as the sort leaves kMainOfTwo, after its header lines.
const Lines kMainOfTwoSorted = {u"iconic1=0", u"cmd1=a", u"button1=a.exe",
                                u"iconic2=0", u"cmd2=b", u"button2=b.exe"};

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::u16string LastLine(const Lines& lines) { return lines.empty() ? u"" : lines.back(); }

TEST(ExpandTest, WorkedExample) {
  ToggleRig rig;
  rig.SetMain(kMainOfTwo);
  const Lines sub = {u"[Buttonbar]",   u"Buttoncount=2", u"button1=x.exe",
                     u"cmd1=x",        u"iconic1=0",     u"",
                     u"button2=y.exe", u"cmd2=y2.cmd",   u"iconic2=1"};
  rig.SetSub(u"tools.bar", sub);
  const std::string sub_bytes = rig.files.files[ToggleRig::SubPath(u"tools.bar")];

  EXPECT_EQ(rig.Run(u"tools.bar"), ToggleAction::kExpand);

  EXPECT_EQ(rig.Main(),
            (Lines{u"[Buttonbar]", u"Buttoncount=5", u"iconic1=0", u"cmd1=a", u"button1=a.exe",
                   u"iconic2=0", u"cmd2=b", u"button2=b.exe", u"button3=tools.barx1", u"cmd3=-2",
                   u"iconic3=0", u"button4=x.exe", u"cmd4=x", u"iconic4=0", u"button5=y.exe",
                   u"cmd5=y2.cmd", u"iconic5=1"}));
  EXPECT_EQ(rig.files.files[ToggleRig::SubPath(u"tools.bar")], sub_bytes);
  EXPECT_EQ(LinesOf(rig.sub_bar), (Lines{u"button4=x.exe", u"cmd4=x", u"iconic4=0",
                                         u"button5=y.exe", u"cmd5=y2.cmd", u"iconic5=1"}));
  EXPECT_EQ(rig.files.events,
            (std::vector<std::u16string>{
                u"read C:\\tc\\Bar\\main.bar", u"read C:\\tc\\Bar\\tools.bar",
                u"replace C:\\tc\\Bar\\main.bar", u"notify 2901", u"notify 2901"}));
}

// One sub-bar line, expanded into a main bar of count 2: the line it becomes,
// or the failure.
struct RenumberingCase {
  const char* name;
  std::u16string sub_line;
  std::u16string becomes;  // the main bar's last line
  std::u16string failure;  // the message, when the expand refuses
};

void PrintTo(const RenumberingCase& c, std::ostream* os) { *os << c.name; }

class ExpandRenumberingTest : public ::testing::TestWithParam<RenumberingCase> {};

TEST_P(ExpandRenumberingTest, RenumbersOrRefusesTheLine) {
  const RenumberingCase& c = GetParam();
  ToggleRig rig;
  rig.SetMain(kMainOfTwo);
  rig.SetSub(u"tools.bar", {u"[Buttonbar]", u"Buttoncount=1", c.sub_line});
  const std::string main_bytes = rig.files.files[ToggleRig::MainPath()];

  if (c.failure.empty()) {
    rig.Run(u"tools.bar");
    EXPECT_EQ(LastLine(rig.Main()), c.becomes);
    return;
  }
  try {
    rig.Run(u"tools.bar");
    ADD_FAILURE() << "expanded";
  } catch (const Error& e) {
    EXPECT_EQ(ToUtf8(e.message()), ToUtf8(c.failure));
  }
  EXPECT_EQ(rig.files.files[ToggleRig::MainPath()], main_bytes);
  EXPECT_TRUE(rig.commands.empty());
}

const std::u16string kRefused = u"Cannot expand \"C:\\tc\\Bar\\tools.bar\": its line ";

INSTANTIATE_TEST_SUITE_P(
    Lines, ExpandRenumberingTest,
    ::testing::Values(
        RenumberingCase{"plain", u"button1=x.exe", u"button4=x.exe", u""},
        RenumberingCase{"two digits", u"cmd10=run 7", u"cmd13=run 7", u""},
        RenumberingCase{"digits in the value stay", u"cmd2=y2.cmd", u"cmd5=y2.cmd", u""},
        // The text between the digits and "=" stays, so that the collapse
        // gives the key back as it was.
        RenumberingCase{"text after the digits", u"button2x=z", u"button5x=z", u""},
        RenumberingCase{"aligned key", u"button2   = z", u"button5   = z", u""},
        RenumberingCase{"digits alone", u"7=z", u"10=z", u""},
        RenumberingCase{"second =", u"x1y=2=3", u"x4y=2=3", u""},
        RenumberingCase{"highest number", u"button2147483644=z", u"button2147483647=z", u""},
        RenumberingCase{"key without digit", u"label=z", u"", u"'' is not a valid integer value"},
        RenumberingCase{"key of 11 digits", u"button99999999999=z", u"",
                        u"'99999999999' is not a valid integer value"},
        // Lines no entry owns stay in the sub-bar file.
        RenumberingCase{"no =", u"note", u"iconic3=0", u""},
        RenumberingCase{"comment", u"; note=5", u"iconic3=0", u""},
        RenumberingCase{"blanks only", u"   ", u"iconic3=0", u""},
        RenumberingCase{"digits apart", u"b1t2=z", u"",
                        kRefused + u"\"b1t2=z\" has a key whose digits do not stand together, "
                                   u"and renumbering it would drop the letters between them"},
        RenumberingCase{"leading zero", u"button02=z", u"",
                        kRefused + u"\"button02=z\" has a key number with a leading zero, and "
                                   u"renumbering it would drop it"},
        RenumberingCase{"button 0", u"button0=z", u"",
                        kRefused + u"\"button0=z\" belongs to button 0, whose number the "
                                   u"marker entry would take"},
        RenumberingCase{"beyond the 32-bit range", u"button2147483645=z", u"",
                        kRefused + u"\"button2147483645=z\" would be numbered above "
                                   u"2147483647"}),
    [](const ::testing::TestParamInfo<RenumberingCase>& info) {
      std::string name;
      for (const char* c = info.param.name; *c; ++c) name += std::isalnum(*c) ? *c : '_';
      return name;
    });

TEST(ExpandTest, MarkerNumberComesFromTheCountLine) {
  ToggleRig rig;
  rig.SetMain({u"[Buttonbar]", u"Buttoncount=7", u"button1=a", u"button2=b", u"button3=c"});
  rig.SetSub(u"s.bar", {u"[Buttonbar]", u"Buttoncount=1", u"button1=x"});
  rig.Run(u"s.bar");
  EXPECT_EQ(rig.Main(),
            (Lines{u"[Buttonbar]", u"Buttoncount=9", u"button1=a", u"button2=b", u"button3=c",
                   u"button8=s.barx1", u"cmd8=-2", u"iconic8=0", u"button9=x"}));
}

TEST(ExpandTest, CountIsBothCountsAndTheMarkerWhateverTheSubBarHolds) {
  struct Case {
    const char* name;
    Lines sub;
    Lines block;  // the main bar's lines behind its own
    std::u16string count;
  } cases[] = {
      {"count 0, header lines only",
       {u"[Buttonbar]", u"Buttoncount=0"},
       {u"button3=s.barx1", u"cmd3=-2", u"iconic3=0"},
       u"Buttoncount=3"},
      {"count above the entries",
       {u"[Buttonbar]", u"Buttoncount=5", u"button1=x", u"button2=y"},
       {u"button3=s.barx1", u"cmd3=-2", u"iconic3=0", u"button4=x", u"button5=y"},
       u"Buttoncount=8"},
      {"gaps stay gaps",
       {u"[Buttonbar]", u"Buttoncount=7", u"button2=x", u"button7=y", u"cmd2=x"},
       {u"button3=s.barx1", u"cmd3=-2", u"iconic3=0", u"button5=x", u"button10=y", u"cmd5=x"},
       u"Buttoncount=10"},
      {"empty lines anywhere",
       {u"", u"[Buttonbar]", u"", u"Buttoncount=1", u"", u"button1=x", u"", u""},
       {u"button3=s.barx1", u"cmd3=-2", u"iconic3=0", u"button4=x"},
       u"Buttoncount=4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    rig.SetMain(kMainOfTwo);
    rig.SetSub(u"s.bar", c.sub);
    rig.Run(u"s.bar");
    EXPECT_EQ(rig.Main(), Concat({{u"[Buttonbar]", c.count}, kMainOfTwoSorted, c.block}));
  }
}

TEST(ExpandTest, MainBarEmptyLinesAndLinesWithoutKey) {
  struct Case {
    const char* name;
    Lines main;
    Lines expanded;
  } cases[] = {
      // Lines no entry owns keep their places; the entries are sorted in
      // theirs, and the block follows the last of them.
      {"empty lines before the header and between entries",
       {u"", u"[Buttonbar]", u"Buttoncount=1", u"button1=a", u"", u"cmd1=a"},
       {u"", u"[Buttonbar]", u"Buttoncount=3", u"cmd1=a", u"", u"button1=a", u"button2=s.barx1",
        u"cmd2=-2", u"iconic2=0", u"button3=x"}},
      {"a heading without =",
       {u"[Buttonbar]", u"Buttoncount=1", u"button1=a", u"tools", u"cmd1=a"},
       {u"[Buttonbar]", u"Buttoncount=3", u"cmd1=a", u"tools", u"button1=a", u"button2=s.barx1",
        u"cmd2=-2", u"iconic2=0", u"button3=x"}},
      {"other sections, a comment, the header in its own spelling",
       {u"[options]", u"redirect=0", u" [ButtonBar] ", u"; mine", u"buttoncount = 1", u"button1=a",
        u"", u"[Later]", u"x=1"},
       {u"[options]", u"redirect=0", u" [ButtonBar] ", u"; mine", u"Buttoncount=3", u"button1=a",
        u"button2=s.barx1", u"cmd2=-2", u"iconic2=0", u"button3=x", u"", u"[Later]", u"x=1"}},
      {"main bar without entries",
       {u"[Buttonbar]", u"Buttoncount=0"},
       {u"[Buttonbar]", u"Buttoncount=2", u"button1=s.barx1", u"cmd1=-2", u"iconic1=0",
        u"button2=x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    rig.SetMain(c.main);
    rig.SetSub(u"s.bar", {u"[Buttonbar]", u"Buttoncount=1", u"button1=x"});
    rig.Run(u"s.bar");
    EXPECT_EQ(rig.Main(), c.expanded);
  }
}

// Every failure before the save leaves both files as they were and sends
// nothing; so does a failed save.
struct FailureCase {
  const char* name;
  Lines main;
  Lines sub;              // empty: no sub-bar file
  std::string sub_bytes;  // used instead of sub when not empty
  MemoryFileSystem::Fault main_fault;
  int32_t main_line_limit;
  std::u16string message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ExpandFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ExpandFailureTest, WritesAndSendsNothing) {
  const FailureCase& c = GetParam();
  ToggleRig rig;
  rig.SetMain(c.main);
  if (!c.sub_bytes.empty()) {
    rig.files.files[ToggleRig::SubPath(u"s.bar")] = c.sub_bytes;
  } else if (!c.sub.empty()) {
    rig.SetSub(u"s.bar", c.sub);
  }
  const auto files_before = rig.files.files;
  rig.files.Fail(ToggleRig::MainPath(), c.main_fault);
  rig.main_bar.set_line_limit(c.main_line_limit);

  try {
    rig.Run(u"s.bar");
    ADD_FAILURE() << "expanded";
  } catch (const Error& e) {
    EXPECT_EQ(ToUtf8(e.message()), ToUtf8(c.message));
  }
  EXPECT_EQ(rig.files.files, files_before);
  EXPECT_TRUE(rig.commands.empty());
}

const Lines kSub = {u"[Buttonbar]", u"Buttoncount=1", u"button1=x"};
constexpr auto kNoFault = MemoryFileSystem::Fault::kNone;
constexpr int32_t kNoLimit = LineList::kMaxLines;

INSTANTIATE_TEST_SUITE_P(
    Table, ExpandFailureTest,
    ::testing::Values(
        FailureCase{"missing_sub_bar",
                    kMainOfTwo,
                    {},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot open file \"C:\\tc\\Bar\\s.bar\". The system cannot find the file "
                    u"specified"},
        FailureCase{"invalid_utf8_sub_bar",
                    kMainOfTwo,
                    {},
                    "\xEF\xBB\xBF[Buttonbar]\r\n\xFF\r\n",
                    kNoFault,
                    kNoLimit,
                    u"No mapping for the Unicode character exists in the target multi-byte "
                    u"code page"},
        FailureCase{"main_bar_of_one_line",
                    {u"[Buttonbar]"},
                    kSub,
                    "",
                    kNoFault,
                    kNoLimit,
                    u"List index out of bounds (1).  TListBoxLines range is 0..0"},
        FailureCase{"main_bar_line_the_sort_cannot_number", Concat({kMainOfTwo, {u"label=z"}}),
                    kSub, "", kNoFault, kNoLimit, u"'' is not a valid integer value"},
        FailureCase{"sub_bar_of_one_line",
                    kMainOfTwo,
                    {u"[Buttonbar]"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"List index out of bounds (1).  TListBoxLines range is 0..0"},
        FailureCase{"main_count_not_a_number",
                    {u"[Buttonbar]", u"Buttoncount=abc", u"button1=a"},
                    kSub,
                    "",
                    kNoFault,
                    kNoLimit,
                    u"'abc' is not a valid integer value"},
        FailureCase{"sub_count_empty",
                    kMainOfTwo,
                    {u"[Buttonbar]", u"Buttoncount="},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"'' is not a valid integer value"},
        FailureCase{"main_count_negative",
                    {u"[Buttonbar]", u"Buttoncount=-1"},
                    kSub,
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": the main bar "
                    u"\"C:\\tc\\Bar\\main.bar\" has a negative button count (-1)"},
        FailureCase{"sub_count_negative",
                    kMainOfTwo,
                    {u"[Buttonbar]", u"Buttoncount=-3"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": its button count is negative (-3)"},
        FailureCase{"count_beyond_32_bits",
                    {u"[Buttonbar]", u"Buttoncount=2147483640"},
                    {u"[Buttonbar]", u"Buttoncount=7"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": the main bar would have more than "
                    u"2147483647 buttons"},
        // The count is the only record of what the file manager shows.
        FailureCase{"main_bar_entry_above_its_count",
                    {u"[Buttonbar]", u"Buttoncount=1", u"button1=a", u"menu3=old"},
                    kSub,
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": the main bar "
                    u"\"C:\\tc\\Bar\\main.bar\" has the line \"menu3=old\", numbered above "
                    u"its button count (1), which the file manager does not show; delete the "
                    u"line or raise the count first"},
        FailureCase{"unfolded_under_another_spelling",
                    Concat({kMainOfTwo, {u"button3=S.barx1", u"cmd3=-2"}}), kSub, "", kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": the main bar "
                    u"\"C:\\tc\\Bar\\main.bar\" holds it unfolded already, spelled "
                    u"\"S.bar\" (its line \"button3=S.barx1\"); fold it with that spelling "
                    u"first"},
        FailureCase{"unfolded_in_an_edited_line",
                    Concat({kMainOfTwo, {u"button3 = s.barx1", u"cmd3=-2"}}), kSub, "", kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": the main bar "
                    u"\"C:\\tc\\Bar\\main.bar\" holds it unfolded already, in its edited line "
                    u"\"button3 = s.barx1\"; restore that line to \"button3=s.barx1\" to fold "
                    u"it"},
        FailureCase{"sub_bar_holds_a_marker_entry",
                    kMainOfTwo,
                    {u"[Buttonbar]", u"Buttoncount=3", u"button1=x", u"button2=b.barx1", u"cmd2=-2",
                     u"iconic2=0", u"button3=y"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": its button 2 is the marker entry of "
                    u"an expanded sub-bar, and collapsing would end its block there"},
        FailureCase{"sub_bar_without_button_section",
                    kMainOfTwo,
                    {u"[Bar]", u"Buttoncount=1", u"button1=x"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": it has no \"[Buttonbar]\" "
                    u"section"},
        FailureCase{"sub_bar_without_count_line",
                    kMainOfTwo,
                    {u"[Buttonbar]", u"iconic1=0", u"button1=x", u"[x]", u"Buttoncount=1"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": it has no \"Buttoncount=\" line "
                    u"in its \"[Buttonbar]\" section"},
        FailureCase{"main_bar_without_count_line",
                    {u"[Buttonbar]", u"cmd1=7", u"button1=a"},
                    kSub,
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": the main bar "
                    u"\"C:\\tc\\Bar\\main.bar\" has no \"Buttoncount=\" line in its "
                    u"\"[Buttonbar]\" section"},
        FailureCase{"sub_bar_button_without_cmd_line_like_a_marker",
                    kMainOfTwo,
                    {u"[Buttonbar]", u"Buttoncount=1", u"button1=c.txtx1"},
                    "",
                    kNoFault,
                    kNoLimit,
                    u"Cannot expand \"C:\\tc\\Bar\\s.bar\": its line \"button1=c.txtx1\" "
                    u"looks like the marker entry of an expanded sub-bar without its cmd line, "
                    u"which the collapse could not tell from one"},
        FailureCase{"line_cannot_be_stored", kMainOfTwo, kSub, "", kNoFault, 11,
                    u"Unable to insert a line"},
        FailureCase{"main_bar_cannot_be_created", kMainOfTwo, kSub, "",
                    MemoryFileSystem::Fault::kCreate, kNoLimit,
                    u"Cannot create file \"C:\\tc\\Bar\\main.bar\". Access is denied"},
        FailureCase{"main_bar_write_stops_short", kMainOfTwo, kSub, "",
                    MemoryFileSystem::Fault::kWrite, kNoLimit, u"Stream write error"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(ExpandTest, LineBreaksAndLookalikesInTheSubBarAreNotMarkers) {
  ToggleRig rig;
  rig.SetMain(kMainOfTwo);
  rig.SetSub(u"s.bar", {u"[Buttonbar]", u"Buttoncount=2", u"button1=", u"cmd1=-2",
                        u"button2=b.barx1", u"cmd2=b.exe"});
  EXPECT_EQ(rig.Run(u"s.bar"), ToggleAction::kExpand);
  EXPECT_EQ(rig.Main(), Concat({{u"[Buttonbar]", u"Buttoncount=5"},
                                kMainOfTwoSorted,
                                {u"button3=s.barx1", u"cmd3=-2", u"iconic3=0", u"button4=",
                                 u"cmd4=-2", u"button5=b.barx1", u"cmd5=b.exe"}}));
}

}  // namespace
}  // namespace bar
