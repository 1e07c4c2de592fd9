// A toggle that fails on a file (held open by another program, refused,
// cut short) must leave the user's bars as they were, or, for a collapse
// whose main bar fails after its sub-bar was written, in a state the next
// run finishes. Either way, once the fault is gone, running the same toggle
// again gives exactly the files a run without the fault would have given.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "bar/collapse.h"
#include "bar/errors.h"
#include "bar/marker.h"
#include "bar/unicode.h"
#include "tests/test_support.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::MemoryFileSystem;
using testing_support::ToggleRig;
using Fault = MemoryFileSystem::Fault;
using Files = std::map<std::u16string, std::string>;

constexpr char16_t kSubName[] = u"programming.bar";

// A user's main bar (UTF-16 with its mark, a blank line before the header)
// and a sub-bar with LF line ends, so that the files compared hold more
// than a toy bar's few lines.
Files OriginalFiles() {
  namespace ts = testing_support;
  return {{ToggleRig::MainPath(), ts::ReadBytes(ts::OwnBars().dir / "utf16_leading_blank.bar")},
          {ToggleRig::SubPath(kSubName), ts::ReadBytes(ts::OwnBars().dir / "dev_sub.bar")}};
}

// The files after one run without any fault, starting from `files`.
Files CleanRun(const Files& files) {
  ToggleRig rig;
  rig.files.files = files;
  rig.Run(kSubName);
  return rig.files.files;
}

enum class Start { kOriginal, kExpanded };

struct FaultCase {
  const char* name;
  Start start;
  std::u16string faulty_file;  // ToggleRig's path of the file that fails
  Fault fault;
  std::u16string message;
  // The files a collapse whose main bar failed has already written: the
  // sub-bar, as the clean run writes it.
  bool sub_bar_written = false;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const std::u16string kMain = ToggleRig::MainPath();
const std::u16string kSub = ToggleRig::SubPath(kSubName);

const std::u16string kInUse =
    u"The process cannot access the file because it is being used by another process";

class ToggleFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ToggleFaultTest, KeepsTheBarsAndTheNextRunFinishes) {
  const FaultCase& c = GetParam();
  Files start = OriginalFiles();
  if (c.start == Start::kExpanded) start = CleanRun(start);
  const Files clean = CleanRun(start);
  ASSERT_NE(clean, start) << "the toggle must change the files for this test to mean anything";

  ToggleRig rig;
  rig.files.files = start;
  rig.files.Fail(c.faulty_file, c.fault);
  try {
    rig.Run(kSubName);
    ADD_FAILURE() << "the toggle did not fail";
  } catch (const Error& e) {
    EXPECT_EQ(ToUtf8(e.message()), ToUtf8(c.message));
  }
  Files after_failure = start;
  if (c.sub_bar_written) after_failure[kSub] = clean.at(kSub);
  EXPECT_TRUE(rig.files.files == after_failure) << "the files changed beyond what was saved";
  EXPECT_TRUE(rig.commands.empty()) << "the file manager was told after a failure";

  rig.files.Fail(c.faulty_file, Fault::kNone);
  const ToggleAction expected_action =
      c.start == Start::kOriginal ? ToggleAction::kExpand : ToggleAction::kCollapse;
  EXPECT_EQ(rig.Run(kSubName), expected_action);
  EXPECT_TRUE(rig.files.files == clean) << "the run after the fault ended elsewhere";
  EXPECT_EQ(rig.commands, (std::vector<int32_t>{2901, 2901}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToggleFaultTest,
    ::testing::Values(FaultCase{"expand_main_bar_held_at_start", Start::kOriginal, kMain,
                                Fault::kOpen, u"Cannot open file \"" + kMain + u"\". " + kInUse},
                      FaultCase{"expand_sub_bar_held", Start::kOriginal, kSub, Fault::kOpen,
                                u"Cannot open file \"" + kSub + u"\". " + kInUse},
                      FaultCase{"expand_main_bar_refused", Start::kOriginal, kMain, Fault::kCreate,
                                u"Cannot create file \"" + kMain + u"\". Access is denied"},
                      FaultCase{"expand_main_bar_cut_short", Start::kOriginal, kMain, Fault::kWrite,
                                u"Stream write error"},
                      FaultCase{"collapse_main_bar_held_at_start", Start::kExpanded, kMain,
                                Fault::kOpen, u"Cannot open file \"" + kMain + u"\". " + kInUse},
                      FaultCase{"collapse_sub_bar_refused", Start::kExpanded, kSub, Fault::kCreate,
                                u"Cannot create file \"" + kSub + u"\". Access is denied"},
                      FaultCase{"collapse_sub_bar_cut_short", Start::kExpanded, kSub, Fault::kWrite,
                                u"Stream write error"},
                      FaultCase{"collapse_main_bar_refused", Start::kExpanded, kMain,
                                Fault::kCreate,
                                u"Cannot create file \"" + kMain + u"\". Access is denied", true},
                      FaultCase{"collapse_main_bar_cut_short", Start::kExpanded, kMain,
                                Fault::kWrite, u"Stream write error", true}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// Between start-up's look at the main bar and the collapse's own reading of
// it, another program may take the file: the collapse then stops before it
// has written anything.
TEST(ToggleFaultTest, MainBarTakenBetweenStartUpAndCollapse) {
  const Files expanded = CleanRun(OriginalFiles());
  ToggleRig rig;
  rig.files.files = expanded;
  rig.main_bar.LoadFromFile(kMain, rig.files);
  ASSERT_EQ(DecideToggle(rig.main_bar, kSubName), ToggleAction::kCollapse);
  rig.files.Fail(kMain, Fault::kOpen);
  Toggle toggle = rig.MakeToggle(kSubName);
  try {
    Remove(toggle);
    ADD_FAILURE() << "the collapse did not fail";
  } catch (const OpenError& e) {
    EXPECT_EQ(ToUtf8(e.message()), ToUtf8(u"Cannot open file \"" + kMain + u"\". " + kInUse));
  }
  EXPECT_TRUE(rig.files.files == expanded);
  EXPECT_TRUE(rig.commands.empty());
}

// The collapse reads the sub-bar file to keep what no entry owns in it; a
// file it cannot read stops it before anything is written.
TEST(ToggleFaultTest, CollapseStopsWhenTheSubBarCannotBeRead) {
  const Files expanded = CleanRun(OriginalFiles());
  ToggleRig rig;
  rig.files.files = expanded;
  rig.files.Fail(kSub, Fault::kOpen);
  EXPECT_THROW(rig.Run(kSubName), OpenError);
  EXPECT_TRUE(rig.files.files == expanded);
  EXPECT_TRUE(rig.commands.empty());
}

}  // namespace
}  // namespace bar
