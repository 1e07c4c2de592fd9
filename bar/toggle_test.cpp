#include "bar/toggle.h"

#include <gtest/gtest.h>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::Lines;
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

// Refused before anything is written or sent.
TEST(ToggleTest, RefusesWhatTheOtherBarHoldsAndAVerticalBarNotSet) {
  const struct {
    const char* name;
    bool vertical;
    std::u16string vertical_setting;
    Lines main, vertical_bar;
    std::u16string message;
  } cases[] = {
      {"unfolded_in_the_main_bar", true, u"Bar\\vertical.bar", kUnfolded, kBar,
       u"Cannot expand \"C:\\tc\\Bar\\tools.bar\": the main bar \"C:\\tc\\Bar\\main.bar\" holds "
       u"it unfolded; fold it there first"},
      {"unfolded_in_the_vertical_bar", false, u"Bar\\vertical.bar", kBar, kUnfolded,
       u"Cannot expand \"C:\\tc\\Bar\\tools.bar\": the vertical bar "
       u"\"C:\\tc\\Bar\\vertical.bar\" holds it unfolded; fold it there first"},
      {"no_vertical_bar_set", true, u"", kBar, kBar,
       u"Cannot unfold or fold \"C:\\tc\\Bar\\tools.bar\": no vertical bar is set; fill in \"Path "
       u"To Vert. Bar\" in the settings window (pathVerticalPanel in kelvane.ini) first"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    rig.vertical_bar_setting = c.vertical_setting;
    rig.SetMain(c.main);
    rig.SetSub(u"tools.bar", kSub);
    rig.files.files[kVerticalPath] = testing_support::EncodeBarFile(c.vertical_bar, {});
    const auto files_before = rig.files.files;
    try {
      rig.Run(u"tools.bar", c.vertical);
      ADD_FAILURE() << "toggled";
    } catch (const BarFormatError& e) {
      EXPECT_EQ(ToUtf8(e.message()), ToUtf8(c.message));
    }
    EXPECT_EQ(rig.files.files, files_before);
    EXPECT_TRUE(rig.commands.empty());
  }
}

}  // namespace
}  // namespace bar
