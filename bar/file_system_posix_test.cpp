#include "bar/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/test_support.h"
#include "tests/test_support_posix.h"

namespace bar {
namespace {

namespace fs = std::filesystem;
using testing_support::FileSizeLimit;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

template <typename Failure, typename Action>
std::string FailureMessage(Action action) {
  try {
    action();
  } catch (const Failure& failure) {
    return ToUtf8(failure.message());
  }
  ADD_FAILURE() << "nothing failed";
  return "";
}

mode_t ModeOf(const fs::path& file) {
  struct stat info;
  EXPECT_EQ(stat(file.c_str(), &info), 0);
  return info.st_mode & 07777;
}

bool OnlyFileIn(const fs::path& folder, const std::string& name) {
  auto entries = fs::directory_iterator(folder);
  return std::distance(fs::begin(entries), fs::end(entries)) == 1 && fs::exists(folder / name);
}

class PosixFileSystemTest : public ::testing::Test {
 protected:
  FileSystem& files_ = PlatformFileSystem();
  TempDir dir_;
};

TEST_F(PosixFileSystemTest, MessagesCarryTheSystemReasonWithoutFullStop) {
  fs::create_directory(dir_.path() / "folder.bar");
  std::string missing = (dir_.path() / "missing.bar").string();
  std::string folder = (dir_.path() / "folder.bar").string();
  EXPECT_EQ(FailureMessage<OpenError>([&] { files_.ReadFile(dir_.File("missing.bar")); }),
            "Cannot open file \"" + missing + "\". No such file or directory");
  EXPECT_EQ(FailureMessage<OpenError>([&] { files_.ReadFile(dir_.File("folder.bar")); }),
            "Cannot open file \"" + folder + "\". Is a directory");
  EXPECT_EQ(FailureMessage<CreateError>([&] { files_.ReplaceFile(dir_.File("folder.bar"), ""); }),
            "Cannot create file \"" + folder + "\". Is a directory");
  std::string long_name = std::string(250, 'n') + ".bar";
  EXPECT_EQ(FailureMessage<CreateError>([&] { files_.ReplaceFile(dir_.File(long_name), ""); }),
            "Cannot create a temporary file in the folder \"" + dir_.path().string() +
                "\". File name too long");
}

// rename() would replace a file without write permission, and root could
// write it anyway; neither may happen to a file that nobody may write.
TEST_F(PosixFileSystemTest, FileWithoutWritePermissionIsRefusedEvenToRoot) {
  fs::path file = dir_.path() / "a.bar";
  WriteBytes(file, "old");
  chmod(file.c_str(), 0444);
  EXPECT_EQ(FailureMessage<CreateError>([&] { files_.ReplaceFile(dir_.File("a.bar"), "new"); }),
            "Cannot create file \"" + file.string() + "\". Permission denied");
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(ModeOf(file), 0444u);
  EXPECT_TRUE(OnlyFileIn(dir_.path(), "a.bar"));
}

TEST_F(PosixFileSystemTest, ReplacementKeepsThePermissionBits) {
  fs::path file = dir_.path() / "a.bar";
  for (mode_t mode : {0600, 0640, 0755, 0604}) {
    SCOPED_TRACE(mode);
    WriteBytes(file, "old");
    chmod(file.c_str(), mode);
    files_.ReplaceFile(dir_.File("a.bar"), "new");
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(ModeOf(file), mode);
  }
}

TEST_F(PosixFileSystemTest, NewFileGetsTheUsualPermissions) {
  mode_t mask = umask(022);
  files_.ReplaceFile(dir_.File("a.bar"), "new");
  umask(mask);
  EXPECT_EQ(ModeOf(dir_.path() / "a.bar"), 0644u);
}

TEST_F(PosixFileSystemTest, ShortWriteKeepsTheOldFile) {
  fs::path file = dir_.path() / "a.bar";
  WriteBytes(file, "old content");
  std::string message;
  {
    FileSizeLimit limit(1000);
    message = FailureMessage<WriteError>(
        [&] { files_.ReplaceFile(dir_.File("a.bar"), std::string(5000, 'x')); });
  }
  EXPECT_EQ(message, "Stream write error");
  EXPECT_EQ(ReadBytes(file), "old content");
  EXPECT_TRUE(OnlyFileIn(dir_.path(), "a.bar"));
}

TEST_F(PosixFileSystemTest, FullPathFoldsDotsAndBackslashes) {
  fs::path cwd = fs::current_path();
  EXPECT_EQ(ToUtf8(files_.FullPath(u"a\\.\\b\\..\\c.bar")), (cwd / "a" / "c.bar").string());
  EXPECT_EQ(ToUtf8(files_.FullPath(u"/x//y/./z.bar")), "/x/y/z.bar");
}

}  // namespace
}  // namespace bar
