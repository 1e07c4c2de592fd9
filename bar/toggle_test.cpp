#include "bar/toggle.h"

#include <gtest/gtest.h>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::Lines;
using testing_support::MemoryFileSystem;
using testing_support::ToggleRig;

const std::u16string kVerticalPath = u"C:\\tc\\Bar\\vertical.bar";
const Lines kBar = {u"[Buttonbar]", u"Buttoncount=2", u"button1=a.exe",
                    u"cmd1=a",      u"button2=b.exe", u"cmd2=b"};
const Lines kUnfolded = {u"[Buttonbar]", u"Buttoncount=3",       u"button1=a.exe",
                         u"cmd1=a",      u"button2=b.exe",       u"cmd2=b",
                         u"iconic3=0",   u"button3=tools.barx1", u"cmd3=-2"};
const Lines kSub = {u"[Buttonbar]", u"Buttoncount=1", u"button1=x.exe", u"cmd1=x"};

// The vertical bar unfolds and folds by the main bar's rules, to the byte;
// the main bar is only read, to see that it does not hold the sub-bar.
TEST(ToggleTest, VerticalBarTogglesAsTheMainBarDoes) {
  ToggleRig main_rig, vertical_rig;
  main_rig.vertical_bar_setting = u"Bar\\vertical.bar";  // not there: holds nothing
  vertical_rig.vertical_bar_setting = u"Bar\\vertical.bar";
  for (ToggleRig* rig : {&main_rig, &vertical_rig}) rig->SetSub(u"tools.bar", kSub);
  main_rig.SetMain(kBar);
  vertical_rig.SetMain(kSub);
  vertical_rig.files.files[kVerticalPath] = main_rig.files.files[ToggleRig::MainPath()];

  for (ToggleAction action : {ToggleAction::kExpand, ToggleAction::kCollapse}) {
    SCOPED_TRACE(static_cast<int>(action));
    EXPECT_EQ(main_rig.Run(u"tools.bar"), action);
    EXPECT_EQ(vertical_rig.Run(u"tools.bar", true), action);
    EXPECT_EQ(vertical_rig.files.files[kVerticalPath], main_rig.files.files[ToggleRig::MainPath()]);
    EXPECT_EQ(vertical_rig.Sub(u"tools.bar"), main_rig.Sub(u"tools.bar"));
    EXPECT_EQ(vertical_rig.Main(), kSub);
  }
  EXPECT_EQ(
      vertical_rig.files.events,
      (std::vector<std::u16string>{
          u"read C:\\tc\\Bar\\vertical.bar", u"read C:\\tc\\Bar\\main.bar",
          u"read C:\\tc\\Bar\\tools.bar", u"replace C:\\tc\\Bar\\vertical.bar", u"notify 2944",
          u"notify 2944", u"read C:\\tc\\Bar\\vertical.bar", u"read C:\\tc\\Bar\\vertical.bar",
          u"read C:\\tc\\Bar\\tools.bar", u"replace C:\\tc\\Bar\\tools.bar",
          u"replace C:\\tc\\Bar\\vertical.bar", u"notify 2944", u"notify 2944"}));
}

std::string Bytes(const Lines& lines) { return testing_support::EncodeBarFile(lines, {}); }
// UTF-8 behind its mark, and a byte no UTF-8 has: a bar no save could give
// back, which the other bar need not be.
std::string Undecodable(const Lines& lines) {
  return testing_support::EncodeBarFile(lines, Encoding::kUtf8) + "\xFF";
}

// The other bar is only looked into for this sub-bar's marker; a refusal
// comes before anything is written or sent. No message: the toggle expands.
TEST(ToggleTest, RefusesWhatTheOtherBarHoldsAndAVerticalBarNotSet) {
  const std::u16string kSubBar = u"Cannot expand \"C:\\tc\\Bar\\tools.bar\": ";
  const std::u16string kNoBar = u"Cannot unfold or fold \"C:\\tc\\Bar\\tools.bar\": no ";
  const struct {
    const char* name;
    bool vertical;
    std::u16string vertical_setting;
    Lines main;
    std::string vertical_bar;
    std::u16string message;
    std::u16string main_setting = u"Bar\\main.bar";
    bool vertical_bar_unreadable = false;
  } cases[] = {
      {"unfolded_in_the_main_bar", true, u"Bar\\vertical.bar", kUnfolded, Bytes(kBar),
       kSubBar + u"the main bar \"C:\\tc\\Bar\\main.bar\" holds it unfolded; fold it there first"},
      {"unfolded_in_the_vertical_bar", false, u"Bar\\vertical.bar", kBar, Bytes(kUnfolded),
       kSubBar + u"the vertical bar \"C:\\tc\\Bar\\vertical.bar\" holds it unfolded; fold it there "
                 u"first"},
      {"unfolded_in_the_main_bar_spelled_otherwise", true, u"Bar\\vertical.bar",
       Lines{u"[Buttonbar]", u"Buttoncount=1", u"button1 = TOOLS.BARx1", u"cmd1=-2"}, Bytes(kBar),
       kSubBar + u"the main bar \"C:\\tc\\Bar\\main.bar\" holds it unfolded; fold it there first"},
      {"unfolded_in_a_vertical_bar_no_save_could_give_back", false, u"Bar\\vertical.bar", kBar,
       Undecodable(kUnfolded),
       kSubBar + u"the vertical bar \"C:\\tc\\Bar\\vertical.bar\" holds it unfolded; fold it there "
                 u"first"},
      {"vertical_bar_no_save_could_give_back", false, u"Bar\\vertical.bar", kBar, Undecodable(kBar),
       u""},
      {"vertical_bar_unreadable", false, u"Bar\\vertical.bar", kBar, Bytes(kBar),
       kSubBar + u"the vertical bar \"C:\\tc\\Bar\\vertical.bar\", which must not hold it "
                 u"unfolded, cannot be read: The process cannot access the file because it is "
                 u"being used by another process",
       u"Bar\\main.bar", true},
      {"no_vertical_bar_set", true, u"", kBar, Bytes(kBar),
       kNoBar + u"vertical bar is set; fill in \"Path To Vert. Bar\" in the settings window "
                u"(pathVerticalPanel in kelvane.ini) first"},
      {"no_main_bar_set", false, u"Bar\\vertical.bar", kBar, Bytes(kBar),
       kNoBar + u"main bar is set; fill in \"Path To Main Bar\" in the settings window "
                u"(pathMainPanel in kelvane.ini) first",
       u""},
      {"no_main_bar_set_for_the_vertical_bar", true, u"Bar\\vertical.bar", kBar, Bytes(kBar), u"",
       u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    rig.main_bar_setting = c.main_setting;
    rig.vertical_bar_setting = c.vertical_setting;
    rig.SetMain(c.main);
    rig.SetSub(u"tools.bar", kSub);
    rig.files.files[kVerticalPath] = c.vertical_bar;
    if (c.vertical_bar_unreadable) rig.files.Fail(kVerticalPath, MemoryFileSystem::Fault::kOpen);
    const auto files_before = rig.files.files;
    std::u16string message;
    try {
      EXPECT_EQ(rig.Run(u"tools.bar", c.vertical), ToggleAction::kExpand);
    } catch (const Error& e) {
      message = e.message();
    }
    EXPECT_EQ(ToUtf8(message), ToUtf8(c.message));
    if (c.message.empty()) {
      EXPECT_EQ(rig.commands.size(), 2u);
      continue;
    }
    EXPECT_EQ(rig.files.files, files_before);
    EXPECT_TRUE(rig.commands.empty());
  }
}

}  // namespace
}  // namespace bar
