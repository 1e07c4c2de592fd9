// Every bar of the sets loads and saves back to the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "bar/bar_file.h"
#include "bar/line_list.h"
#include "tests/lines.h"
#include "tests/scoped_code_page.h"
#include "tests/test_support.h"

namespace bar {
namespace {

using testing_support::LinesOf;

namespace ts = testing_support;

// The bytes with every line end (CR LF, lone CR, lone LF) made CR LF and a
// final CR LF added where the last line had none. unit is the width of a
// character in bytes (2 for UTF-16 LE); the mark is kept as it is.
std::string WithCrLfLineEnds(const std::string& bytes, std::size_t mark_length, std::size_t unit) {
  const std::string cr = unit == 2 ? std::string("\r\0", 2) : "\r";
  const std::string lf = unit == 2 ? std::string("\n\0", 2) : "\n";
  std::string out = bytes.substr(0, mark_length);
  std::size_t at = mark_length;
  while (at < bytes.size()) {
    const std::string current = bytes.substr(at, unit);
    at += unit;
    if (current == cr || current == lf) {
      out += cr + lf;
      if (current == cr && bytes.compare(at, unit, lf) == 0) at += unit;
      continue;
    }
    out += current;
  }
  if (out.size() > mark_length && out.compare(out.size() - unit, unit, lf) != 0) out += cr + lf;
  return out;
}

class CorpusManifestTest : public ::testing::TestWithParam<ts::BarSet> {};

TEST_P(CorpusManifestTest, ListsEveryBarFile) {
  if (!GetParam().absence.empty()) GTEST_SKIP() << GetParam().absence;
  std::set<std::string> on_disk;
  for (const auto& entry : std::filesystem::directory_iterator(GetParam().dir)) {
    if (entry.path().extension() == ".bar") on_disk.insert(entry.path().filename().string());
  }
  std::set<std::string> listed;
  for (const ts::BarFile& file : ts::ManifestOf(GetParam())) {
    listed.insert(file.path.filename().string());
  }
  EXPECT_EQ(on_disk, listed);
  EXPECT_GE(listed.size(), 30u);
}

INSTANTIATE_TEST_SUITE_P(Bars, CorpusManifestTest, ::testing::ValuesIn(ts::BarSets()),
                         ts::NameOf<ts::BarSet>);

class CorpusTest : public ::testing::TestWithParam<ts::BarFile> {};

TEST_P(CorpusTest, LoadsAndSavesBackTheSameText) {
  const ts::BarFile& expected = GetParam();
  if (!expected.absence.empty()) GTEST_SKIP() << expected.absence;
  ts::ScopedCodePage code_page(ts::CodePageFor(expected.encoding));

  ts::TempDir dir;
  const std::string original = ts::ReadBytes(expected.path);
  ts::WriteBytes(dir.path() / "a.bar", original);

  LineList list;
  list.LoadFromFile(dir.File("a.bar"));
  ASSERT_EQ(list.Count(), expected.lines);
  // The header must read as text, wherever the bar has it and however it
  // is spelled.
  const auto is_header = [](std::u16string line) {
    for (char16_t& c : line) c = c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
    return line == u"[buttonbar]";
  };
  const std::vector<std::u16string> lines = LinesOf(list);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), is_header), 1);
  list.SaveToFile(dir.File("a.bar"));

  std::size_t mark_length = 0;
  const Encoding encoding = DetectEncoding(original, &mark_length);
  EXPECT_EQ(encoding == Encoding::kUtf16LE, expected.encoding == "utf16le-bom");
  const std::size_t unit = encoding == Encoding::kUtf16LE ? 2 : 1;
  // A file with CR LF line ends and a final line break comes back byte for
  // byte; others gain exactly those.
  EXPECT_EQ(ts::ReadBytes(dir.path() / "a.bar"), WithCrLfLineEnds(original, mark_length, unit));
}

INSTANTIATE_TEST_SUITE_P(OwnBars, CorpusTest, ::testing::ValuesIn(ts::ManifestOf(ts::OwnBars())),
                         ts::NameOf<ts::BarFile>);
INSTANTIATE_TEST_SUITE_P(RealWorld, CorpusTest,
                         ::testing::ValuesIn(ts::ManifestOf(ts::ExternalBars())),
                         ts::NameOf<ts::BarFile>);

}  // namespace
}  // namespace bar
