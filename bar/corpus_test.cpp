// Every real-world bar file loads and saves back to the same text.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

#include "bar/bar_file.h"
#include "bar/line_list.h"
#include "tests/scoped_code_page.h"
#include "tests/test_support.h"

namespace bar {
namespace {

namespace ts = testing_support;

struct CorpusFile {
  std::string encoding;  // as the collection saved it: ascii, cp1251, utf8, ...
  int32_t lines = 0;
};

// MANIFEST.tsv: file, repository, path, commit, encoding_as_saved, lines, ...
std::map<std::string, CorpusFile> ReadManifest() {
  std::map<std::string, CorpusFile> manifest;
  std::ifstream in(ts::CorpusDir() / "MANIFEST.tsv");
  std::string row;
  std::getline(in, row);  // the heading
  while (std::getline(in, row)) {
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() < 6) continue;
    manifest[fields[0]] = {fields[4], std::stoi(fields[5])};
  }
  return manifest;
}

// The code page a user's machine would read the file in: its own for the
// ANSI files, and a Russian system's for UTF-8 without a mark.
int CodePageFor(const std::string& encoding) {
  if (encoding == "cp1251" || encoding == "utf8") return 1251;
  if (encoding == "cp936") return 936;
  return 1252;
}

// The bytes with every line end (CR LF, lone CR, lone LF) made CR LF and a
// final CR LF added where the last line had none. unit is the width of a
// character in bytes (2 for UTF-16 LE); the mark is kept as it is.
std::string WithCrLfLineEnds(const std::string& bytes, std::size_t mark_length,
                             std::size_t unit) {
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

TEST(CorpusManifestTest, ListsEveryBarFile) {
  const std::map<std::string, CorpusFile> manifest = ReadManifest();
  std::vector<std::string> listed;
  for (const auto& entry : manifest) listed.push_back(entry.first);
  EXPECT_EQ(ts::CorpusFiles(), listed);
  EXPECT_GE(listed.size(), 50u);
}

class CorpusTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusTest, LoadsAndSavesBackTheSameText) {
  static const std::map<std::string, CorpusFile> manifest = ReadManifest();
  const std::string& name = GetParam();
  ASSERT_EQ(manifest.count(name), 1u) << "not in MANIFEST.tsv";
  const CorpusFile& expected = manifest.at(name);
  ts::ScopedCodePage code_page(CodePageFor(expected.encoding));

  ts::TempDir dir;
  const std::string original = ts::ReadBytes(ts::CorpusDir() / name);
  ts::WriteBytes(dir.path() / name, original);

  LineList list;
  list.LoadFromFile(dir.File(name));
  ASSERT_EQ(list.Count(), expected.lines);
  // Some bars start with a blank line; the header must still read as text.
  int32_t header = 0;
  while (header < list.Count() && list.Get(header).empty()) ++header;
  ASSERT_LT(header, list.Count());
  EXPECT_EQ(list.Get(header), u"[Buttonbar]");
  list.SaveToFile(dir.File(name));

  std::size_t mark_length = 0;
  const Encoding encoding = DetectEncoding(original, &mark_length);
  EXPECT_EQ(encoding == Encoding::kUtf16LE, expected.encoding == "utf16le-bom");
  const std::size_t unit = encoding == Encoding::kUtf16LE ? 2 : 1;
  // A file with CR LF line ends and a final line break comes back byte for
  // byte; others gain exactly those.
  EXPECT_EQ(ts::ReadBytes(dir.path() / name), WithCrLfLineEnds(original, mark_length, unit));
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.substr(0, info.param.find('.'));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(RealWorld, CorpusTest, ::testing::ValuesIn(ts::CorpusFiles()),
                         TestName);

}  // namespace
}  // namespace bar
