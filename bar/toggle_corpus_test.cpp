// Every bar of the sets, expanded and collapsed again as the main bar and as
// a sub-bar, on real files: both files come back with every entry, number,
// count and character, or the expand refuses with a clear message and
// leaves both files byte for byte as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "bar/collapse.h"
#include "bar/errors.h"
#include "bar/expand.h"
#include "bar/marker.h"
#include "bar/unicode.h"
#include "tests/scoped_code_page.h"
#include "tests/test_support.h"
#include "tests/toggle_rig.h"

namespace bar {
namespace {

namespace ts = testing_support;

// The bars the toggle refuses, and a part of the message that says why.
const std::map<std::string, std::string> kRefusedAsMain = {
    // No count line: the line after "[Buttonbar]" is a cmd line.
    {"010_kuznecov-handwritten.bar", "is not a valid integer value"},
    {"handwritten.bar", "'Disk tools' is not a valid integer value"},
    // A comment line before the header.
    {"comments.bar", "'[Buttonbar]' is not a valid integer value"},
    // The header spelled [ButtonBar].
    {"header_case.bar", "has the line \"[ButtonBar]\" where \"[Buttonbar]\" and the button count"},
    // An [options] section: "redirect=0" is a key without a number.
    {"options_after.bar", "'' is not a valid integer value"},
    {"options_before.bar", "'' is not a valid integer value"},
};
const std::map<std::string, std::string> kRefusedAsSub = {
    {"010_kuznecov-handwritten.bar", "is not a valid integer value"},
    {"handwritten.bar", "'Disk tools' is not a valid integer value"},
    // A stray line without "=" that the collapse could not carry back.
    {"021_contento-vertical.bar", "has no \"=\", and collapsing would leave it in the main bar"},
    {"stray_line.bar", "has no \"=\", and collapsing would leave it in the main bar"},
    // Heading lines without "=".
    {"headings.bar", "its line \"Files\" has no \"=\""},
    // A line of blanks.
    {"blank_lines.bar", "its line \"   \" has no \"=\""},
    // A comment line before the header.
    {"comments.bar", "'[Buttonbar]' is not a valid integer value"},
    // The header spelled [ButtonBar].
    {"header_case.bar", "its line \"[ButtonBar]\" stands where \"[Buttonbar]\""},
    // An [options] section.
    {"options_after.bar", "its line \"[options]\" has no \"=\""},
    {"options_before.bar", "its line \"[options]\" stands where \"[Buttonbar]\""},
};
// Bars whose round trip as the main bar does not give them back as they
// were, and how it differs.
const std::map<std::string, std::string> kChangedAsMain = {
    // Hidden entries.
    {"count_below.bar", "its count comes back raised to its highest entry number"},
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
    if (real_is_main && kChangedAsMain.count(name)) GTEST_SKIP() << kChangedAsMain.at(name);
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

    for (const auto& [file, before] : {std::pair{main_file, main_before},
                                       std::pair{sub_file, sub_before}}) {
      SCOPED_TRACE(file.filename().string());
      const ts::BarContent was = ts::ContentOf(LinesOfBytes(before));
      const ts::BarContent is = ts::ContentOf(LinesOfBytes(ts::ReadBytes(file)));
      EXPECT_TRUE(is == was) << "now:\n" << ts::Describe(is) << "before:\n" << ts::Describe(was);
    }
    EXPECT_EQ(commands_, (std::vector<int32_t>{2901, 2901, 2901, 2901}));
  }

 private:
  // Start-up with the argument: load the main bar, decide, run.
  ToggleAction Toggle(const ts::TempDir& dir, const std::u16string& par) {
    main_bar_.Clear();
    const std::u16string folder = dir.path().u16string() + u"/";
    main_bar_.LoadFromFile(folder + u"Bar\\main.bar");
    const ToggleAction action = DecideToggle(main_bar_, par);
    bar::Toggle toggle{main_bar_,   sub_bar_,         par,
                       folder,      u"Bar",           u"Bar\\main.bar",
                       [this](int32_t command) { commands_.push_back(command); }};
    if (action == ToggleAction::kExpand) Expand(toggle);
    if (action == ToggleAction::kCollapse) Collapse(toggle);
    return action;
  }

  LineList main_bar_;
  LineList sub_bar_;
  std::vector<int32_t> commands_;
};

TEST_P(ToggleCorpusTest, AsMainBar) { ExpandAndCollapse(true); }

TEST_P(ToggleCorpusTest, AsSubBar) { ExpandAndCollapse(false); }

INSTANTIATE_TEST_SUITE_P(OwnBars, ToggleCorpusTest,
                         ::testing::ValuesIn(ts::ManifestOf(ts::OwnBars())),
                         ts::NameOf<ts::BarFile>);
INSTANTIATE_TEST_SUITE_P(RealWorld, ToggleCorpusTest,
                         ::testing::ValuesIn(ts::ManifestOf(ts::ExternalBars())),
                         ts::NameOf<ts::BarFile>);

}  // namespace
}  // namespace bar
