// Every bar of the sets, expanded and collapsed again as the main bar and as
// a sub-bar, on real files: both files come back with every entry, number,
// count and character, or the expand refuses with a clear message and
// leaves both files byte for byte as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "bar/errors.h"
#include "bar/marker.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/scoped_code_page.h"
#include "tests/test_support.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::LinesOf;
using testing_support::SplitLines;

namespace ts = testing_support;

// The bars the toggle refuses, and a part of the message that says why.
const std::map<std::string, std::string> kRefusedAsMain = {
    {"010_kuznecov-handwritten.bar", "has no \"Buttoncount=\" line"},
    {"handwritten.bar", "has no \"Buttoncount=\" line"},
    // The count hides entries the file manager does not show.
    {"128_doublecmd-default-gap.bar", "numbered above its button count (1)"},
    {"count_below.bar", "numbered above its button count (2)"},
};
const std::map<std::string, std::string> kRefusedAsSub = {
    {"010_kuznecov-handwritten.bar", "has no \"Buttoncount=\" line"},
    {"handwritten.bar", "has no \"Buttoncount=\" line"},
};

const std::string kPartner =
    "[Buttonbar]\r\nButtoncount=2\r\nbutton1=wcmicons.dll,1\r\ncmd1=cm_SrcComments\r\n"
    "iconic1=0\r\nbutton2=%windir%\\notepad.exe\r\ncmd2=notepad.exe\r\niconic2=1\r\n";

ts::Lines LinesOfBytes(const std::string& bytes) {
  std::size_t mark = 0;
  const Encoding encoding = DetectEncoding(bytes, &mark);
  return SplitLines(DecodeBarText(std::string_view(bytes).substr(mark), encoding));
}

class ToggleCorpusTest : public ::testing::TestWithParam<ts::BarFile> {
 protected:
  // Expands sub.bar into main.bar and collapses it again; `real` is written
  // as the main bar or as the sub-bar, the partner bar on the other side.
  void ExpandAndCollapse(bool real_is_main) {
    if (!GetParam().absence.empty()) GTEST_SKIP() << GetParam().absence;
    const std::string name = GetParam().path.filename().string();
    ts::ScopedCodePage code_page(ts::CodePageFor(GetParam().encoding));

    ts::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Bar");
    const std::filesystem::path main_file = dir.path() / "Bar" / "main.bar";
    const std::filesystem::path sub_file = dir.path() / "Bar" / "sub.bar";
    const std::string real = ts::ReadBytes(GetParam().path);
    const std::string main_before = real_is_main ? real : kPartner;
    const std::string sub_before = real_is_main ? kPartner : real;
    ts::WriteBytes(main_file, main_before);
    ts::WriteBytes(sub_file, sub_before);

    const auto& refused = real_is_main ? kRefusedAsMain : kRefusedAsSub;
    const auto refusal = refused.find(name);
    try {
      EXPECT_EQ(Toggle(dir, u"sub.bar"), ToggleAction::kExpand);
    } catch (const Error& e) {
      ASSERT_NE(refusal, refused.end()) << "refused: " << e.what();
      EXPECT_NE(std::string(e.what()).find(refusal->second), std::string::npos) << e.what();
      EXPECT_EQ(ts::ReadBytes(main_file), main_before);
      EXPECT_EQ(ts::ReadBytes(sub_file), sub_before);
      EXPECT_TRUE(commands_.empty());
      return;
    }
    ASSERT_EQ(refusal, refused.end()) << "expanded although it should be refused";
    EXPECT_EQ(ts::ReadBytes(sub_file), sub_before);
    EXPECT_EQ(Toggle(dir, u"sub.bar"), ToggleAction::kCollapse);

    for (const auto& [file, before] :
         {std::pair{main_file, main_before}, std::pair{sub_file, sub_before}}) {
      SCOPED_TRACE(file.filename().string());
      const ts::BarContent was = ts::ContentOf(LinesOfBytes(before));
      const ts::BarContent is = ts::ContentOf(LinesOfBytes(ts::ReadBytes(file)));
      EXPECT_TRUE(is == was) << "now:\n" << ts::Describe(is) << "before:\n" << ts::Describe(was);
    }
    EXPECT_EQ(commands_, (std::vector<int32_t>{2901, 2901, 2901, 2901}));
  }

 private:
  // Start-up with the argument.
  ToggleAction Toggle(const ts::TempDir& dir, const std::u16string& par) {
    bar::Toggle toggle{main_bar_,
                       sub_bar_,
                       par,
                       dir.path().u16string() + u"/",
                       u"Bar",
                       u"Bar\\main.bar",
                       [this](int32_t command) { commands_.push_back(command); }};
    return RunToggle(toggle);
  }

  LineList main_bar_;
  LineList sub_bar_;
  std::vector<int32_t> commands_;
};

TEST_P(ToggleCorpusTest, AsMainBar) { ExpandAndCollapse(true); }

TEST_P(ToggleCorpusTest, AsSubBar) { ExpandAndCollapse(false); }

// The bar as the main bar of the next two bars of its code page, toggled in
// a random order until all are folded again. A refused toggle changes no
// file; at the end every file holds what it held.
TEST_P(ToggleCorpusTest, InBlockSequences) {
  if (!GetParam().absence.empty()) GTEST_SKIP() << GetParam().absence;
  static const std::vector<ts::BarFile> own = ts::ManifestOf(ts::OwnBars());
  static const std::vector<ts::BarFile> external = ts::ManifestOf(ts::ExternalBars());
  const ts::BarFile& bar = GetParam();
  const std::vector<ts::BarFile>& set =
      std::any_of(own.begin(), own.end(), [&](const ts::BarFile& f) { return f.path == bar.path; })
          ? own
          : external;
  const int code_page = ts::CodePageFor(bar.encoding);
  ts::ScopedCodePage scoped(code_page);
  std::vector<std::filesystem::path> partners;
  const auto self = std::find_if(set.begin(), set.end(),
                                 [&](const ts::BarFile& f) { return f.path == bar.path; });
  for (std::size_t k = 1; k < set.size() && partners.size() < 2; ++k) {
    const ts::BarFile& other = set[(self - set.begin() + k) % set.size()];
    if (ts::CodePageFor(other.encoding) == code_page) partners.push_back(other.path);
  }
  if (partners.empty()) GTEST_SKIP() << "no other bar of code page " << code_page;

  ts::ToggleRig rig;
  const std::u16string subs[] = {u"a.bar", u"b.bar"};
  std::map<std::u16string, std::string> before = {
      {ts::ToggleRig::MainPath(), ts::ReadBytes(bar.path)}};
  for (std::size_t k = 0; k < partners.size(); ++k) {
    before[ts::ToggleRig::SubPath(subs[k])] = ts::ReadBytes(partners[k]);
  }
  rig.files.files = before;
  std::mt19937 random(static_cast<uint32_t>(std::hash<std::string>()(bar.name)));
  std::set<std::u16string> unfolded;
  for (int step = 0; step < 8 || !unfolded.empty(); ++step) {
    const std::u16string sub = step < 8 ? subs[random() % partners.size()] : *unfolded.begin();
    const auto files_before = rig.files.files;
    try {
      if (rig.Run(sub) == ToggleAction::kExpand) {
        unfolded.insert(sub);
      } else {
        unfolded.erase(sub);
      }
    } catch (const BarFormatError& e) {
      const std::string why = e.what();
      EXPECT_TRUE(why.find("has no \"Buttoncount=\" line") != std::string::npos ||
                  why.find("numbered above its button count") != std::string::npos)
          << why;
      EXPECT_EQ(rig.files.files, files_before);
      if (unfolded.count(sub)) return;  // a collapse refused: nothing more to check
    }
  }
  for (const auto& [path, bytes] : before) {
    SCOPED_TRACE(ToUtf8(path));
    const ts::BarContent was = ts::ContentOf(LinesOfBytes(bytes));
    const ts::BarContent is = ts::ContentOf(rig.LinesOf(path));
    EXPECT_TRUE(is == was) << "now:\n" << ts::Describe(is) << "before:\n" << ts::Describe(was);
  }
}

INSTANTIATE_TEST_SUITE_P(OwnBars, ToggleCorpusTest,
                         ::testing::ValuesIn(ts::ManifestOf(ts::OwnBars())),
                         ts::NameOf<ts::BarFile>);
INSTANTIATE_TEST_SUITE_P(RealWorld, ToggleCorpusTest,
                         ::testing::ValuesIn(ts::ManifestOf(ts::ExternalBars())),
                         ts::NameOf<ts::BarFile>);

}  // namespace
}  // namespace bar
