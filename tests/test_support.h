// Helpers shared by the unit tests.
#ifndef KELVANE_TESTS_TEST_SUPPORT_H_
#define KELVANE_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The path of a file in the folder, as the core's UTF-16 path.
  std::u16string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// A folder of bar files with a MANIFEST.tsv that describes each, one
// tab-separated row a file after a heading row: file, source_repository,
// path_in_repository, commit, encoding_as_saved, lines, buttoncount, note.
struct BarSet {
  std::string name;           // "OwnBars" or "RealWorld": names its tests
  std::filesystem::path dir;  // empty when the set is absent
  std::string absence;        // why it is absent, for the skipped tests
};

// The project's own bars, tests/bars: every shape real bars have.
BarSet OwnBars();
// Real users' bars, where a collection of them is at hand: the folder the
// environment variable KELVANE_CORPUS_DIR names, by default
// ../shared/corpus/realworld beside the source tree.
BarSet ExternalBars();
// Both, for the tests that take a whole set.
std::vector<BarSet> BarSets();

// A file of a set, as its MANIFEST.tsv row describes it.
struct BarFile {
  std::string name;            // the file name, made a valid test name
  std::filesystem::path path;  // empty for an absent set's stand-in
  std::string encoding;        // ascii, cp1251, cp1252, cp936, utf8, utf16le-bom
  int32_t lines = 0;           // as the core loads them
  std::string absence;         // the set's, for the stand-in
};

// The set's files in MANIFEST.tsv order (none when it cannot be read); for
// an absent set one stand-in, whose tests skip with the reason. Never
// throws: test discovery calls it.
std::vector<BarFile> ManifestOf(const BarSet& set);

// The legacy code page of the machine a bar comes from: its own for the
// ANSI files, a Russian system's for UTF-8 without a mark.
int CodePageFor(const std::string& encoding);

// A bar file's name made a test name: without its extension, every
// character but letters and digits made "_".
std::string TestNameFor(const std::string& file_name);

// Names a set or file in failure messages.
void PrintTo(const BarSet& set, std::ostream* os);
void PrintTo(const BarFile& file, std::ostream* os);

// INSTANTIATE_TEST_SUITE_P's name generator for BarSet and BarFile.
template <typename T>
std::string NameOf(const ::testing::TestParamInfo<T>& info) {
  return info.param.name;
}

}  // namespace testing_support

#endif  // KELVANE_TESTS_TEST_SUPPORT_H_
