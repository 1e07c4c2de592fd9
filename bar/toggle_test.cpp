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

// The other bar is only looked into for this sub-bar's marker: it may hold
// bytes no save could give back (UTF-8 behind its mark, and a byte no UTF-8
// has). A refusal comes before anything is written or sent; without one,
// the toggle expands.
TEST(ToggleTest, RefusesWhatTheOtherBarHoldsAndAVerticalBarNotSet) {
  const std::u16string kCannot = u"Cannot expand \"C:\\tc\\Bar\\tools.bar\": ",
                       kNoBar = u"Cannot unfold or fold \"C:\\tc\\Bar\\tools.bar\": no ",
                       kInMain = kCannot +
                                 u"the main bar \"C:\\tc\\Bar\\main.bar\" holds it "
                                 u"unfolded; fold it there first",
                       kVertical = kCannot + u"the vertical bar \"C:\\tc\\Bar\\vertical.bar\"";
  const Lines kSpelledOtherwise = {u"[Buttonbar]", u"Buttoncount=1", u"button1 = TOOLS.BARx1"};
  enum VerticalBar { kEncoded, kUndecodable, kUnreadable };
  const struct {
    const char* name;
    bool vertical;
    std::u16string vertical_setting;
    Lines main, vertical_bar;
    std::u16string message;
    VerticalBar vertical_file = kEncoded;
    std::u16string main_setting = u"Bar\\main.bar";
  } cases[] = {
      {"unfolded_in_the_main_bar", true, u"Bar\\vertical.bar", kUnfolded, kBar, kInMain},
      {"unfolded_in_the_vertical_bar", false, u"Bar\\vertical.bar", kBar, kUnfolded,
       kVertical + u" holds it unfolded; fold it there first"},
      {"spelled_otherwise", true, u"Bar\\vertical.bar", kSpelledOtherwise, kBar, kInMain},
      {"undecodable", false, u"Bar\\vertical.bar", kBar, kUnfolded,
       kVertical + u" holds it unfolded; fold it there first", kUndecodable},
      {"undecodable_without_it", false, u"Bar\\vertical.bar", kBar, kBar, u"", kUndecodable},
      {"unreadable", false, u"Bar\\vertical.bar", kBar, kBar,
       kVertical + u", which must not hold it unfolded, cannot be read: The process cannot "
                   u"access the file because it is being used by another process",
       kUnreadable},
      {"no_vertical_bar_set", true, u"", kBar, kBar,
       kNoBar + u"vertical bar is set; fill in \"Path To Vert. Bar\" in the settings window "
                u"(pathVerticalPanel in kelvane.ini) first"},
      {"no_main_bar_set", false, u"Bar\\vertical.bar", kBar, kBar,
       kNoBar + u"main bar is set; fill in \"Path To Main Bar\" in the settings window "
                u"(pathMainPanel in kelvane.ini) first",
       kEncoded, u""},
      {"vertical_without_main_bar", true, u"Bar\\vertical.bar", kBar, kBar, u"", kEncoded, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToggleRig rig;
    rig.main_bar_setting = c.main_setting;
    rig.vertical_bar_setting = c.vertical_setting;
    rig.SetMain(c.main);
    rig.SetSub(u"tools.bar", kSub);
    const bool undecodable = c.vertical_file == kUndecodable;
    rig.files.files[kVerticalPath] =
        testing_support::EncodeBarFile(c.vertical_bar,
                                       undecodable ? Encoding::kUtf8 : Encoding::kLegacy) +
        (undecodable ? "\xFF" : "");
    if (c.vertical_file == kUnreadable)
      rig.files.Fail(kVerticalPath, MemoryFileSystem::Fault::kOpen);
    const auto files_before = rig.files.files;
    std::u16string message;
    try {
      EXPECT_EQ(rig.Run(u"tools.bar", c.vertical), ToggleAction::kExpand);
    } catch (const Error& e) {
      message = e.message();
    }
    EXPECT_EQ(ToUtf8(message), ToUtf8(c.message));
    EXPECT_EQ(rig.commands.size(), c.message.empty() ? 2u : 0u);
    if (!c.message.empty()) {
      EXPECT_EQ(rig.files.files, files_before);
    }
  }
}

}  // namespace
}  // namespace bar
