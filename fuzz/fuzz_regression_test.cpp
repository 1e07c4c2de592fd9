// The fuzzers' seeds and every input they ever failed on, replayed with
// their own checks; and what those checks make of known bars, so that a
// check that quietly stopped checking shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "tests/test_support.h"

namespace fuzzing {
namespace {

namespace fs = std::filesystem;

struct Target {
  const char* name;  // the folder under fuzz/seeds and fuzz/regressions
  CheckResult (*check)(std::string_view);
};

void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }

fs::path FuzzDir() { return fs::path(KELVANE_FUZZ_DIR); }

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

class KeptInputTest : public ::testing::TestWithParam<Target> {};

TEST_P(KeptInputTest, EveryInputKeepsTheInvariants) {
  int replayed = 0;
  for (const char* kind : {"seeds", "regressions"}) {
    for (const fs::path& file : FilesIn(FuzzDir() / kind / GetParam().name)) {
      SCOPED_TRACE(file.string());
      const CheckResult result = GetParam().check(testing_support::ReadBytes(file));
      EXPECT_EQ(result.violation, "");
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0) << "no inputs under " << FuzzDir().string();
}

INSTANTIATE_TEST_SUITE_P(Fuzzers, KeptInputTest,
                         ::testing::Values(Target{"load", CheckLoad},
                                           Target{"toggle", CheckToggle}),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

struct OutcomeCase {
  const char* target;
  const char* seed;
  const char* outcome;  // what the outcome starts with
};

TEST(FuzzCheckTest, SeedsTakeTheirPath) {
  const OutcomeCase cases[] = {
      {"toggle", "expand_worked_example", "expanded and collapsed"},
      {"toggle", "collapse_worked_example", "collapsed, then expanded and collapsed"},
      {"toggle", "collapse_first_of_two", "collapsed, then expanded and collapsed"},
      {"toggle", "expand_missing_sub", "refused: Cannot open file \"C:\\tc\\Bar\\tools.bar\""},
      {"toggle", "expand_utf16_main_utf8_sub", "expanded and collapsed"},
      {"load", "split_mixed", "loaded 4 lines"},
      {"load", "utf8_mark_only", "loaded 0 lines"},
      {"load", "utf8_mark_invalid", "load failed: No mapping for the Unicode character"},
      {"load", "utf16le_mark_one_byte", "load failed: No mapping for the Unicode character"},
  };
  for (const OutcomeCase& c : cases) {
    SCOPED_TRACE(std::string(c.target) + "/" + c.seed);
    const std::string input = testing_support::ReadBytes(FuzzDir() / "seeds" / c.target / c.seed);
    const CheckResult result =
        std::string(c.target) == "load" ? CheckLoad(input) : CheckToggle(input);
    EXPECT_EQ(result.violation, "");
    EXPECT_EQ(result.outcome.substr(0, std::string(c.outcome).size()), c.outcome) << result.outcome;
  }
}

TEST(FuzzCheckTest, ToggleInputSplitsIntoTheTwoFiles) {
  const std::string main_bar = "[Buttonbar]\r\nButtoncount=0\r\n";
  // Without the separator there is no sub-bar file to expand.
  EXPECT_EQ(CheckToggle(ToggleInput(Selector(0, 0), main_bar, std::nullopt)).outcome.substr(0, 25),
            "refused: Cannot open file");
  EXPECT_EQ(CheckToggle(ToggleInput(Selector(0, 0), main_bar, main_bar)).outcome,
            "expanded and collapsed");
}

TEST(FuzzCheckTest, SelectorPicksCodePageAndName) {
  EXPECT_EQ(CodePageOf(Selector(2, 3)), 936);
  EXPECT_EQ(SubBarNameOf(Selector(2, 3)), u"Tools.BAR");
  EXPECT_EQ(CodePageOf(Selector(4, 0)), 932);
  EXPECT_EQ(SubBarNameOf(Selector(4, 0)), u"tools.bar");
}

}  // namespace
}  // namespace fuzzing
