// Toggles on real files that fail the way files fail: a missing bar folder,
// a file nobody may write (which holds even for root), a folder where a bar
// should be, a write cut short by a file-size limit as by a full disk. For
// each, in the expand and in the collapse: the exact message, every file of
// the program folder byte for byte and with its permissions, no temporary
// file left behind, no word to the file manager, and, once the fault is
// mended, a run that ends exactly where a run without it would have.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bar/errors.h"
#include "bar/marker.h"
#include "bar/toggle.h"
#include "bar/unicode.h"
#include "tests/test_support.h"
#include "tests/test_support_posix.h"

namespace bar {
namespace {

namespace fs = std::filesystem;
using testing_support::FileSizeLimit;
using testing_support::OwnBars;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr char kMainBar[] = "main.bar";
constexpr char kSubBar[] = "Bar/programming.bar";
constexpr char16_t kPar[] = u"programming.bar";

// Every file and folder below `dir`, with its permission bits: what a
// failed toggle must leave exactly as it found it.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    struct stat info;
    EXPECT_EQ(lstat(entry.path().c_str(), &info), 0);
    std::string state = std::to_string(info.st_mode & 07777);
    state += entry.is_directory() ? " folder" : " file\n" + ReadBytes(entry.path());
    entries[fs::relative(entry.path(), dir).string()] = state;
  }
  return entries;
}

// The bytes of a file's Snapshot entry.
std::string ContentOf(const std::string& entry) { return entry.substr(entry.find('\n') + 1); }

// A program folder on disk: the main bar main.bar beside the program, the
// sub-bar in the bar folder Bar, as kelvane.ini would name them.
class ProgramFolder {
 public:
  ProgramFolder() {
    fs::create_directory(dir_.path() / "Bar");
    WriteBytes(dir_.path() / kMainBar, ReadBytes(OwnBars().dir / "utf16_leading_blank.bar"));
    WriteBytes(dir_.path() / kSubBar, ReadBytes(OwnBars().dir / "dev_sub.bar"));
  }

  const fs::path& dir() const { return dir_.path(); }

  // What start-up does with the argument, on the platform's files.
  ToggleAction Run() {
    LineList main_bar;
    LineList sub_bar;
    Toggle toggle{main_bar,
                  sub_bar,
                  kPar,
                  dir_.path().u16string() + u"\\",
                  u"Bar",
                  u"main.bar",
                  [this](int32_t command) { commands.push_back(command); }};
    return RunToggle(toggle);
  }

  std::vector<int32_t> commands;

 private:
  TempDir dir_;
};

enum class Start { kOriginal, kExpanded };

using FolderAction = std::function<void(const fs::path& dir)>;

struct RealFaultCase {
  const char* name;
  Start start;
  FolderAction prepare;
  // The message, `dir` being the program folder.
  std::function<std::string(const std::string& dir)> message;
  // The file whose new content the file-size limit cuts short ("" for no
  // limit): the limit is one byte below it.
  std::string cut_short;
  // A collapse whose main bar failed has written the sub-bar already.
  bool sub_bar_written = false;
  // Mends the fault, so that the toggle is run again; null: not run again.
  FolderAction mend = nullptr;
};

void PrintTo(const RealFaultCase& c, std::ostream* os) { *os << c.name; }

void MakeReadOnly(const fs::path& file) { chmod(file.c_str(), 0444); }
void MakeWritable(const fs::path& file) { chmod(file.c_str(), 0644); }

std::function<std::string(const std::string&)> Message(const std::string& start,
                                                       const std::string& file,
                                                       const std::string& reason) {
  return [=](const std::string& dir) {
    return start + " file \"" + dir + "/" + file + "\". " + reason;
  };
}

class RealFaultTest : public ::testing::TestWithParam<RealFaultCase> {
 protected:
  // The program folder's files after the toggle ran without a fault.
  static std::map<std::string, std::string> CleanRun(Start start) {
    ProgramFolder folder;
    if (start == Start::kExpanded) folder.Run();
    folder.Run();
    return Snapshot(folder.dir());
  }
};

TEST_P(RealFaultTest, KeepsTheBarsAndTheNextRunFinishes) {
  const RealFaultCase& c = GetParam();
  const auto clean = CleanRun(c.start);
  ProgramFolder folder;
  if (c.start == Start::kExpanded) {
    ASSERT_EQ(folder.Run(), ToggleAction::kExpand);
  }
  folder.commands.clear();
  c.prepare(folder.dir());
  const auto before = Snapshot(folder.dir());

  std::string message = "the toggle did not fail";
  try {
    if (c.cut_short.empty()) {
      folder.Run();
    } else {
      FileSizeLimit limit(ContentOf(clean.at(c.cut_short)).size() - 1);
      folder.Run();
    }
  } catch (const Error& e) {
    message = e.what();
  }

  EXPECT_EQ(message, c.message(folder.dir().string()));
  auto expected = before;
  if (c.sub_bar_written) expected[kSubBar] = clean.at(kSubBar);
  EXPECT_EQ(Snapshot(folder.dir()), expected);
  EXPECT_TRUE(folder.commands.empty()) << "the file manager was told after a failure";

  if (!c.mend) return;
  c.mend(folder.dir());
  folder.Run();
  EXPECT_EQ(Snapshot(folder.dir()), clean);
  EXPECT_EQ(folder.commands, (std::vector<int32_t>{2901, 2901}));
}

const FolderAction kNothing = [](const fs::path&) {};

INSTANTIATE_TEST_SUITE_P(
    Table, RealFaultTest,
    ::testing::Values(
        RealFaultCase{"expand_bar_folder_missing", Start::kOriginal,
                      [](const fs::path& dir) { fs::remove_all(dir / "Bar"); },
                      Message("Cannot open", kSubBar, "No such file or directory"), "", false,
                      nullptr},
        RealFaultCase{"expand_main_bar_read_only", Start::kOriginal,
                      [](const fs::path& dir) { MakeReadOnly(dir / kMainBar); },
                      Message("Cannot create", kMainBar, "Permission denied"), "", false,
                      [](const fs::path& dir) { MakeWritable(dir / kMainBar); }},
        RealFaultCase{"expand_main_bar_is_a_folder", Start::kOriginal,
                      [](const fs::path& dir) {
                        fs::remove(dir / kMainBar);
                        fs::create_directory(dir / kMainBar);
                      },
                      Message("Cannot open", kMainBar, "Is a directory"), "", false, nullptr},
        RealFaultCase{"expand_sub_bar_is_a_folder", Start::kOriginal,
                      [](const fs::path& dir) {
                        fs::remove(dir / kSubBar);
                        fs::create_directory(dir / kSubBar);
                      },
                      Message("Cannot open", kSubBar, "Is a directory"), "", false, nullptr},
        RealFaultCase{"expand_main_bar_cut_short", Start::kOriginal, kNothing,
                      [](const std::string&) { return std::string("Stream write error"); },
                      kMainBar, false, kNothing},
        RealFaultCase{"collapse_bar_folder_missing", Start::kExpanded,
                      [](const fs::path& dir) { fs::remove_all(dir / "Bar"); },
                      Message("Cannot create", kSubBar, "No such file or directory"), "", false,
                      [](const fs::path& dir) { fs::create_directory(dir / "Bar"); }},
        RealFaultCase{"collapse_sub_bar_read_only", Start::kExpanded,
                      [](const fs::path& dir) { MakeReadOnly(dir / kSubBar); },
                      Message("Cannot create", kSubBar, "Permission denied"), "", false,
                      [](const fs::path& dir) { MakeWritable(dir / kSubBar); }},
        RealFaultCase{"collapse_sub_bar_is_a_folder", Start::kExpanded,
                      [](const fs::path& dir) {
                        fs::remove(dir / kSubBar);
                        fs::create_directory(dir / kSubBar);
                      },
                      Message("Cannot open", kSubBar, "Is a directory"), "", false,
                      [](const fs::path& dir) { fs::remove(dir / kSubBar); }},
        RealFaultCase{"collapse_sub_bar_cut_short", Start::kExpanded, kNothing,
                      [](const std::string&) { return std::string("Stream write error"); }, kSubBar,
                      false, kNothing},
        RealFaultCase{"collapse_main_bar_read_only", Start::kExpanded,
                      [](const fs::path& dir) { MakeReadOnly(dir / kMainBar); },
                      Message("Cannot create", kMainBar, "Permission denied"), "", true,
                      [](const fs::path& dir) { MakeWritable(dir / kMainBar); }},
        RealFaultCase{"collapse_main_bar_cut_short", Start::kExpanded, kNothing,
                      [](const std::string&) { return std::string("Stream write error"); },
                      kMainBar, true, kNothing}),
    [](const ::testing::TestParamInfo<RealFaultCase>& info) { return info.param.name; });

// The expand only reads the sub-bar: one nobody may write is no obstacle,
// and stays as it was, permissions included.
TEST(RealFaultTest, ExpandReadsASubBarNobodyMayWrite) {
  ProgramFolder folder;
  MakeReadOnly(folder.dir() / kSubBar);
  const std::string sub_bar = ReadBytes(folder.dir() / kSubBar);
  EXPECT_EQ(folder.Run(), ToggleAction::kExpand);
  EXPECT_EQ(ReadBytes(folder.dir() / kSubBar), sub_bar);
  struct stat info;
  ASSERT_EQ(stat((folder.dir() / kSubBar).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444u);
  EXPECT_EQ(folder.commands, (std::vector<int32_t>{2901, 2901}));
}

}  // namespace
}  // namespace bar
