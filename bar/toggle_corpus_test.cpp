// Every real-world bar, expanded and collapsed again as the main bar and as
// a sub-bar, on real files: both files come back with every entry, number,
// count and character, or the expand refuses with a clear message and
// leaves both files byte for byte as they were.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

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

// MANIFEST.tsv: file, repository, path, commit, encoding_as_saved, ...
std::map<std::string, std::string> EncodingsFromManifest() {
  std::map<std::string, std::string> encodings;
  std::ifstream in(ts::CorpusDir() / "MANIFEST.tsv");
  std::string row;
  std::getline(in, row);  // the heading
  while (std::getline(in, row)) {
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() >= 5) encodings[fields[0]] = fields[4];
  }
  return encodings;
}

// The code page of the machine the bar comes from: its own for the ANSI
// files, a Russian system's for UTF-8 without a mark.
int CodePageFor(const std::string& encoding) {
  if (encoding == "cp1251" || encoding == "utf8") return 1251;
  if (encoding == "cp936") return 936;
  return 1252;
}

// The bars the toggle refuses, and a part of the message that says why.
const std::map<std::string, std::string> kRefusedAsMain = {
    {"010_kuznecov-handwritten.bar", "has no \"Buttoncount=\" line"},
    // Buttoncount=1 with entries 1 and 3: the file manager hides entry 3.
    {"128_doublecmd-default-gap.bar", "numbered above its button count (1)"},
};
const std::map<std::string, std::string> kRefusedAsSub = {
    {"010_kuznecov-handwritten.bar", "has no \"Buttoncount=\" line"},
};

const std::string kPartner =
    "[Buttonbar]\r\nButtoncount=2\r\nbutton1=wcmicons.dll,1\r\ncmd1=cm_SrcComments\r\n"
    "iconic1=0\r\nbutton2=%windir%\\notepad.exe\r\ncmd2=notepad.exe\r\niconic2=1\r\n";

ts::Lines LinesOfBytes(const std::string& bytes) {
  std::size_t mark = 0;
  const Encoding encoding = DetectEncoding(bytes, &mark);
  return SplitLines(DecodeBarText(std::string_view(bytes).substr(mark), encoding));
}

class ToggleCorpusTest : public ::testing::TestWithParam<std::string> {
 protected:
  // Expands sub.bar into main.bar and collapses it again; `real` is written
  // as the main bar or as the sub-bar, the partner bar on the other side.
  void ExpandAndCollapse(bool real_is_main) {
    static const std::map<std::string, std::string> encodings = EncodingsFromManifest();
    const std::string& name = GetParam();
    ASSERT_EQ(encodings.count(name), 1u) << "not in MANIFEST.tsv";
    ts::ScopedCodePage code_page(CodePageFor(encodings.at(name)));

    ts::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Bar");
    const std::filesystem::path main_file = dir.path() / "Bar" / "main.bar";
    const std::filesystem::path sub_file = dir.path() / "Bar" / "sub.bar";
    const std::string real = ts::ReadBytes(ts::CorpusDir() / name);
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

// The bar as the main bar of the next two bars of its code page, toggled in
// a random order until all are folded again. A refused toggle changes no
// file; at the end every file holds what it held.
TEST_P(ToggleCorpusTest, InBlockSequences) {
  static const std::map<std::string, std::string> encodings = EncodingsFromManifest();
  static const std::vector<std::string> names = ts::CorpusFiles();
  const std::string& name = GetParam();
  const int code_page = CodePageFor(encodings.at(name));
  ts::ScopedCodePage scoped(code_page);
  std::vector<std::string> partners;
  const auto self = std::find(names.begin(), names.end(), name);
  for (std::size_t k = 1; k < names.size() && partners.size() < 2; ++k) {
    const std::string& other = names[(self - names.begin() + k) % names.size()];
    if (CodePageFor(encodings.at(other)) == code_page) partners.push_back(other);
  }

  ts::ToggleRig rig;
  const std::u16string subs[] = {u"a.bar", u"b.bar"};
  std::map<std::u16string, std::string> before = {
      {ts::ToggleRig::MainPath(), ts::ReadBytes(ts::CorpusDir() / name)}};
  for (std::size_t k = 0; k < partners.size(); ++k) {
    before[ts::ToggleRig::SubPath(subs[k])] = ts::ReadBytes(ts::CorpusDir() / partners[k]);
  }
  rig.files.files = before;
  std::mt19937 random(static_cast<uint32_t>(std::hash<std::string>()(name)));
  std::set<std::u16string> unfolded;
  for (int step = 0; step < 8 || !unfolded.empty(); ++step) {
    const std::u16string sub =
        step < 8 ? subs[random() % partners.size()] : *unfolded.begin();
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

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.substr(0, info.param.find('.'));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(RealWorld, ToggleCorpusTest, ::testing::ValuesIn(ts::CorpusFiles()),
                         TestName);

}  // namespace
}  // namespace bar
