#include "bar/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/test_support.h"

namespace bar {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

template <typename Failure, typename Action>
std::u16string FailureMessage(Action action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.message();
  }
  ADD_FAILURE() << "nothing failed";
  return u"";
}

// The program composes the message around the system's reason, whose words
// differ between systems: the composed part is exact, the reason only has
// to be there, without a trailing full stop.
void ExpectComposed(const std::u16string& message, const std::u16string& start) {
  SCOPED_TRACE(ToUtf8(message));
  ASSERT_GT(message.size(), start.size());
  EXPECT_EQ(message.substr(0, start.size()), start);
  char16_t last = message.back();
  EXPECT_TRUE(last != u'.' && last != u' ' && last != u'\n' && last != u'\r');
}

std::string SampleBytes(std::size_t size) {
  std::string bytes("[Buttonbar]\r\nbutton1=\0x\n\xFF\xFE", 24);
  while (bytes.size() < size) bytes += static_cast<char>(bytes.size() * 7 % 256);
  return bytes.substr(0, size);
}

class FileSystemTest : public ::testing::Test {
 protected:
  FileSystem& files_ = PlatformFileSystem();
  TempDir dir_;
};

TEST_F(FileSystemTest, ReadsEveryByte) {
  for (std::size_t size : {0u, 1u, 24u, 65536u, 200000u}) {
    SCOPED_TRACE(size);
    WriteBytes(dir_.path() / "a.bar", SampleBytes(size));
    EXPECT_EQ(files_.ReadFile(dir_.File("a.bar")), SampleBytes(size));
  }
}

TEST_F(FileSystemTest, ReplacesWithEveryByteAndLeavesNothingElse) {
  for (std::size_t size : {200000u, 24u, 0u, 1u}) {
    SCOPED_TRACE(size);
    files_.ReplaceFile(dir_.File("a.bar"), SampleBytes(size));
    EXPECT_EQ(ReadBytes(dir_.path() / "a.bar"), SampleBytes(size));
    EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"a.bar"});
  }
}

TEST_F(FileSystemTest, TakesBackslashesForSeparators) {
  fs::create_directory(dir_.path() / "Bar");
  std::u16string path = dir_.path().u16string() + u"\\Bar\\tools.bar";
  files_.ReplaceFile(path, "x\r\n");
  EXPECT_EQ(ReadBytes(dir_.path() / "Bar" / "tools.bar"), "x\r\n");
  EXPECT_EQ(files_.ReadFile(path), "x\r\n");
  EXPECT_EQ(files_.FullPath(path), (dir_.path() / "Bar" / "tools.bar").u16string());
}

TEST_F(FileSystemTest, FullPathIsAbsolute) {
  EXPECT_EQ(files_.FullPath(u"tools.bar"), (fs::current_path() / "tools.bar").u16string());
  EXPECT_EQ(files_.FullPath(dir_.File("a.bar")), dir_.File("a.bar"));
  std::u16string winding = dir_.path().u16string() + u"\\x\\..\\.\\a.bar";
  EXPECT_EQ(files_.FullPath(winding), dir_.File("a.bar"));
}

TEST_F(FileSystemTest, ReadFailuresNameTheFullPath) {
  fs::create_directory(dir_.path() / "folder.bar");
  for (const char* name : {"missing.bar", "folder.bar", "missing/a.bar"}) {
    SCOPED_TRACE(name);
    std::u16string path = dir_.File(name);
    std::u16string message = FailureMessage<OpenError>([&] { files_.ReadFile(path); });
    ExpectComposed(message, u"Cannot open file \"" + files_.FullPath(path) + u"\". ");
  }
}

TEST_F(FileSystemTest, ReplaceIntoAMissingFolderFails) {
  std::u16string path = dir_.File("missing") + u"\\a.bar";
  std::u16string message = FailureMessage<CreateError>([&] { files_.ReplaceFile(path, "x"); });
  ExpectComposed(message, u"Cannot create file \"" + files_.FullPath(path) + u"\". ");
  EXPECT_TRUE(Names(dir_.path()).empty());
}

// The temporary file's name is the target's and a suffix: beside a name
// that is nearly as long as a name may be, no temporary file can be made.
TEST_F(FileSystemTest, FolderThatTakesNoTemporaryFileIsNamed) {
  std::string name = std::string(240, 'n') + ".bar";
  for (bool target_exists : {false, true}) {
    SCOPED_TRACE(target_exists);
    if (target_exists) WriteBytes(dir_.path() / name, "old");
    std::u16string message =
        FailureMessage<CreateError>([&] { files_.ReplaceFile(dir_.File(name), "new"); });
    ExpectComposed(message, u"Cannot create a temporary file in the folder \"" +
                                files_.FullPath(dir_.path().u16string()) + u"\". ");
    EXPECT_EQ(Names(dir_.path()),
              target_exists ? std::vector<std::string>{name} : std::vector<std::string>{});
  }
  EXPECT_EQ(ReadBytes(dir_.path() / name), "old");
}

TEST_F(FileSystemTest, ReplaceOfAFolderFailsAndKeepsIt) {
  fs::create_directory(dir_.path() / "a.bar");
  WriteBytes(dir_.path() / "a.bar" / "inside", "kept");
  std::u16string path = dir_.File("a.bar");
  std::u16string message = FailureMessage<CreateError>([&] { files_.ReplaceFile(path, "x"); });
  ExpectComposed(message, u"Cannot create file \"" + files_.FullPath(path) + u"\". ");
  EXPECT_EQ(ReadBytes(dir_.path() / "a.bar" / "inside"), "kept");
  EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"a.bar"});
}

TEST_F(FileSystemTest, ReadOnlyTargetIsKept) {
  fs::path file = dir_.path() / "a.bar";
  WriteBytes(file, "old");
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  std::u16string message =
      FailureMessage<CreateError>([&] { files_.ReplaceFile(dir_.File("a.bar"), "new"); });
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  ExpectComposed(message, u"Cannot create file \"" + files_.FullPath(dir_.File("a.bar")) + u"\". ");
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"a.bar"});
}

}  // namespace
}  // namespace bar
