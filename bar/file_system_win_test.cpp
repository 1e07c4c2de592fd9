#include "bar/file_system.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "bar/errors.h"
#include "bar/file_handle_win.h"
#include "bar/system_error_win.h"
#include "bar/wide_win.h"
#include "tests/test_support.h"

#undef ReplaceFile  // <windows.h> would rename the interface's method

namespace bar {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::wstring LongForm(const std::u16string& path) { return L"\\\\?\\" + ToWide(path); }

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

std::u16string SystemText(DWORD error) {
  wchar_t buffer[512] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, buffer, 512, nullptr);
  std::u16string text(buffer, buffer + length);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\r' || text.back() == u'\n' ||
                           text.back() == u'.')) {
    text.pop_back();
  }
  return text;
}

DWORD AttributesOf(const std::u16string& path) { return GetFileAttributesW(ToWide(path).c_str()); }

int EntriesIn(const fs::path& folder) {
  auto entries = fs::directory_iterator(folder);
  return static_cast<int>(std::distance(fs::begin(entries), fs::end(entries)));
}

class WinFileSystemTest : public ::testing::Test {
 protected:
  FileSystem& files_ = PlatformFileSystem();
  TempDir dir_;
};

TEST_F(WinFileSystemTest, ReadOnlyAttributeRefusesTheReplace) {
  std::u16string path = dir_.File("a.bar");
  WriteBytes(dir_.path() / "a.bar", "old");
  SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  std::u16string message = FailureMessage<CreateError>([&] { files_.ReplaceFile(path, "new"); });
  EXPECT_EQ(AttributesOf(path) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
  SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(message, u"Cannot create file \"" + path + u"\". " + SystemText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadBytes(dir_.path() / "a.bar"), "old");
  EXPECT_EQ(EntriesIn(dir_.path()), 1);
}

// The texts every message quotes: without the trailing blanks, line breaks
// and full stop of FormatMessageW, and a fallback where it has none.
TEST_F(WinFileSystemTest, SystemErrorTextIsTrimmedOrFallsBack) {
  std::u16string denied = SystemErrorText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(denied.empty());
  EXPECT_EQ(denied, SystemText(ERROR_ACCESS_DENIED));
  EXPECT_GT(denied.back(), u' ');
  EXPECT_NE(denied.back(), u'.');
  EXPECT_EQ(SystemErrorText(0x2000ABCDu), u"Error 0x2000ABCD");
}

FILETIME CreationTimeOf(const std::u16string& path) {
  FILETIME created{};
  HANDLE file = CreateFileW(ToWide(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  GetFileTime(file, &created, nullptr, nullptr);
  CloseHandle(file);
  return created;
}

void SetCreationTime(const std::u16string& path, FILETIME created) {
  HANDLE file = CreateFileW(ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  SetFileTime(file, &created, nullptr, nullptr);
  CloseHandle(file);
}

bool SameTime(FILETIME a, FILETIME b) { return CompareFileTime(&a, &b) == 0; }

// ReplaceFileW keeps it, where the files can hold one (Wine's cannot).
TEST_F(WinFileSystemTest, ReplacementKeepsTheCreationTime) {
  const FILETIME long_ago{0x5A6F0000u, 0x01C0D000u};  // a day in 2001
  std::u16string path = dir_.File("a.bar");
  WriteBytes(dir_.path() / "a.bar", "old");
  SetCreationTime(path, long_ago);
  if (!SameTime(CreationTimeOf(path), long_ago)) {
    GTEST_SKIP() << "the file system keeps no creation time that is set";
  }
  files_.ReplaceFile(path, "new");
  EXPECT_EQ(files_.ReadFile(path), "new");
  EXPECT_TRUE(SameTime(CreationTimeOf(path), long_ago));
  EXPECT_EQ(EntriesIn(dir_.path()), 1);
}

TEST_F(WinFileSystemTest, ReplacementKeepsHiddenAndSystemAttributes) {
  std::u16string path = dir_.File("a.bar");
  WriteBytes(dir_.path() / "a.bar", "old");
  for (DWORD attributes :
       {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
    SCOPED_TRACE(attributes);
    ASSERT_TRUE(SetFileAttributesW(ToWide(path).c_str(), attributes));
    files_.ReplaceFile(path, "new");
    EXPECT_EQ(AttributesOf(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), attributes);
    EXPECT_EQ(files_.ReadFile(path), "new");
  }
  SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(EntriesIn(dir_.path()), 1);
}

// Beyond MAX_PATH the plain form of a path fails in the file calls; the
// messages still show the plain form.
TEST_F(WinFileSystemTest, PathsLongerThanMaxPathWork) {
  std::u16string folder = dir_.path().u16string();
  while (folder.size() < 300) {
    folder += u"\\" + std::u16string(40, u'd');
    ASSERT_TRUE(CreateDirectoryW(LongForm(folder).c_str(), nullptr));
  }
  std::u16string path = folder + u"\\tools.bar";
  files_.ReplaceFile(path, "first");
  files_.ReplaceFile(path, "second");
  EXPECT_EQ(files_.ReadFile(path), "second");
  EXPECT_EQ(files_.FullPath(path), path);
  std::u16string missing = folder + u"\\missing.bar";
  std::u16string message = FailureMessage<OpenError>([&] { files_.ReadFile(missing); });
  EXPECT_EQ(message.substr(0, 18 + missing.size() + 3), u"Cannot open file \"" + missing + u"\". ");
  // Too deep for the temporary folder's own clean-up.
  DeleteFileW(LongForm(path).c_str());
  while (folder.size() > dir_.path().u16string().size()) {
    RemoveDirectoryW(LongForm(folder).c_str());
    folder.resize(folder.rfind(u'\\'));
  }
}

// The file manager may be reading its bar at the moment of the save,
// sharing nothing.
FileHandle HeldOpen(const std::u16string& path) {
  return FileHandle(CreateFileW(ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST_F(WinFileSystemTest, TargetHeldOpenThroughoutFailsAndKeepsIt) {
  std::u16string path = dir_.File("a.bar");
  WriteBytes(dir_.path() / "a.bar", "old");
  FileHandle reader = HeldOpen(path);
  ASSERT_TRUE(reader.ok());
  std::u16string message = FailureMessage<CreateError>([&] { files_.ReplaceFile(path, "new"); });
  reader.Close();
  EXPECT_EQ(message.substr(0, 20 + path.size() + 3), u"Cannot create file \"" + path + u"\". ");
  EXPECT_EQ(ReadBytes(dir_.path() / "a.bar"), "old");
  EXPECT_EQ(EntriesIn(dir_.path()), 1);
}

TEST_F(WinFileSystemTest, TargetReleasedSoonIsReplaced) {
  std::u16string path = dir_.File("a.bar");
  WriteBytes(dir_.path() / "a.bar", "old");
  FileHandle reader = HeldOpen(path);
  ASSERT_TRUE(reader.ok());
  std::thread releaser([&] {
    Sleep(200);
    reader.Close();
  });
  EXPECT_NO_THROW(files_.ReplaceFile(path, "new"));
  releaser.join();
  EXPECT_EQ(ReadBytes(dir_.path() / "a.bar"), "new");
  EXPECT_EQ(EntriesIn(dir_.path()), 1);
}

// Reading lets others read alongside but not write.
TEST_F(WinFileSystemTest, ReadFailsWhileAnotherHandleWrites) {
  std::u16string path = dir_.File("a.bar");
  WriteBytes(dir_.path() / "a.bar", "old");
  HANDLE writer =
      CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  std::u16string message = FailureMessage<OpenError>([&] { files_.ReadFile(path); });
  CloseHandle(writer);
  EXPECT_EQ(message, u"Cannot open file \"" + path + u"\". " + SystemText(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(files_.ReadFile(path), "old");
}

}  // namespace
}  // namespace bar
