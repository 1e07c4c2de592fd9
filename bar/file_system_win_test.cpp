#include "bar/file_system_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bar/errors.h"
#include "bar/file_handle_win.h"
#include "bar/system_error_win.h"
#include "bar/unicode.h"
#include "bar/wide_win.h"
#include "tests/test_support.h"

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

// Each answer the system may give the save and the read, played on real
// files: a call answers its fault's error its first `times` times, then does
// its work. ReplaceFileW's stand-in does what Windows does: 1176 deletes the
// target, 1177 moves it out of the folder, success renames the new file.
// The rename's network error takes the target first, as a redirector that
// replaces by deleting and then renaming may leave it.
enum Call { kOpen, kRead, kWrite, kFlush, kReplace, kMove };
struct Fault {
  Call call;
  DWORD error;
  int times;
};
using Folder = std::map<std::string, std::string>;  // file name ("{temp}"): bytes
struct Outcome {
  const char* name;
  bool save;  // or read
  std::vector<Fault> faults;
  Folder folder;
  std::u16string report;  // "{bar}", "{temp}" and the last fault's "{reason}" filled in
  int sleeps;
};
const DWORD kHeld = ERROR_UNABLE_TO_REMOVE_REPLACED, kDeleted = ERROR_UNABLE_TO_MOVE_REPLACEMENT,
            kAside = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, kDenied = ERROR_ACCESS_DENIED,
            kShared = ERROR_SHARING_VIOLATION, kLocked = ERROR_LOCK_VIOLATION,
            kNetLost = ERROR_UNEXP_NET_ERR;
constexpr int kAlways = 1000, kWait = 39;  // a whole wait: 40 tries
const Folder kOld = {{"a.bar", "old bar"}}, kNew = {{"a.bar", "new bar"}},
             kKept = {{"{temp}", "new bar"}};
const std::u16string kRefused = u"Cannot create file \"{bar}\". {reason}",
                     kKeptNamed = kRefused + u". Its new content is in \"{temp}\"",
                     kUnread = u"Cannot open file \"{bar}\". {reason}",
                     kShort = u"Stream write error";
// clang-format off
const Outcome kOutcomes[] = {
    {"replaced",          true,  {},                                               kNew, u"", 0},
    {"held_twice",        true,  {{kReplace, kHeld, 2}},                           kNew, u"", 2},
    {"deleted",           true,  {{kReplace, kDeleted, 1}},                        kNew, u"", 0},
    {"deleted_then_held", true,  {{kReplace, kDeleted, 1}, {kMove, kDenied, 3}},   kNew, u"", 3},
    {"deleted_and_held",  true,  {{kReplace, kDeleted, 1}, {kMove, kDenied, kAlways}},
                                                                        kKept, kKeptNamed, kWait},
    {"aside",             true,  {{kReplace, kAside, 1}},                          kNew, u"", 0},
    {"aside_and_held",    true,  {{kReplace, kAside, 1}, {kMove, kShared, kAlways}},
                                                                        kKept, kKeptNamed, kWait},
    {"denied",            true,  {{kReplace, kDenied, kAlways}, {kMove, kDenied, kAlways}},
                                                                          kOld, kRefused, kWait},
    {"shared",            true,  {{kReplace, kShared, kAlways}, {kMove, kShared, kAlways}},
                                                                          kOld, kRefused, kWait},
    {"renamed_when_free", true,  {{kReplace, ERROR_NOT_SUPPORTED, 1}, {kMove, kShared, 2}},
                                                                                  kNew, u"", 2},
    {"write_fails",       true,  {{kWrite, ERROR_DISK_FULL, 1}},                   kOld, kShort, 0},
    {"flush_fails",       true,  {{kFlush, ERROR_DISK_FULL, 1}},                   kOld, kShort, 0},
    {"flush_not_there",   true,  {{kFlush, ERROR_INVALID_FUNCTION, 1}},            kNew, u"", 0},
    {"flush_unsupported", true,  {{kFlush, ERROR_NOT_SUPPORTED, 1}},               kNew, u"", 0},
    {"renamed_away",      true,  {{kReplace, ERROR_NOT_SUPPORTED, 1}, {kMove, kNetLost, 1}},
                                                                            kKept, kKeptNamed, 0},
    {"renamed_away_last", true,  {{kReplace, kShared, kWait}, {kMove, kNetLost, 1}},
                                                                        kKept, kKeptNamed, kWait},
    {"read_when_free",    false, {{kOpen, kShared, 2}},                            kOld, u"", 2},
    {"read_when_unlocked", false, {{kRead, kLocked, 3}},                           kOld, u"", 3},
    {"read_locked",       false, {{kRead, kLocked, kAlways}},                   kOld, kUnread, kWait},
};
// clang-format on

std::u16string Filled(std::u16string text, const std::u16string& key, const std::u16string& value) {
  std::size_t at = text.find(key);
  return at == std::u16string::npos ? text : text.replace(at, key.size(), value);
}

Folder Contents(const fs::path& folder, const std::string& temp) {
  Folder contents;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    contents[name == temp ? "{temp}" : name] = ReadBytes(entry.path());
  }
  return contents;
}

TEST_F(WinFileSystemTest, ReplaceOutcomesLeaveAWholeBarUnderItsName) {
  const WindowsFileCalls system = SystemFileCalls();
  for (const Outcome& row : kOutcomes) {
    SCOPED_TRACE(row.name);
    const fs::path bars = dir_.path() / row.name / "bars";  // its parent takes what is moved aside
    fs::create_directories(bars);
    WriteBytes(bars / "a.bar", "old bar");
    std::vector<Fault> faults = row.faults;
    auto failing = [&faults](Call call) {
      for (Fault& fault : faults) {
        if (fault.call != call || fault.times == 0) continue;
        --fault.times;
        SetLastError(fault.error);
        return fault.error;
      }
      return DWORD{ERROR_SUCCESS};
    };
    std::wstring temp;
    int sleeps = 0;
    WindowsFileCalls calls = system;
    calls.create = [&](const wchar_t* path, DWORD access, DWORD share, DWORD how,
                       DWORD attributes) {
      if (how == CREATE_NEW) temp = path;
      if (how == OPEN_EXISTING && failing(kOpen)) return INVALID_HANDLE_VALUE;
      return system.create(path, access, share, how, attributes);
    };
    auto faulty = [&failing](Call call, auto real) {
      return [&failing, call, real](auto... arguments) {
        return !failing(call) && real(arguments...);
      };
    };
    calls.read = faulty(kRead, system.read);
    calls.write = faulty(kWrite, system.write);
    calls.flush = faulty(kFlush, system.flush);
    calls.move = [&](const wchar_t* from, const wchar_t* to) {
      const DWORD error = failing(kMove);
      if (error == ERROR_SUCCESS) return system.move(from, to);
      if (error == kNetLost) DeleteFileW(to);
      SetLastError(error);
      return FALSE;
    };
    calls.replace = [&](const wchar_t* replaced, const wchar_t* replacement) {
      const DWORD error = failing(kReplace);
      if (error == ERROR_SUCCESS) return system.move(replacement, replaced);
      if (error == kDeleted) DeleteFileW(replaced);
      if (error == kAside) MoveFileW(replaced, (bars.parent_path() / "a.bar").c_str());
      SetLastError(error);
      return FALSE;
    };
    calls.sleep = [&sleeps](DWORD) { ++sleeps; };
    std::unique_ptr<FileSystem> files = MakeWindowsFileSystem(calls);
    const std::u16string bar = (bars / "a.bar").u16string();

    std::u16string report;
    try {
      if (row.save) files->ReplaceFile(bar, "new bar");
      if (!row.save) {
        EXPECT_EQ(files->ReadFile(bar), "old bar");
      }
    } catch (const Error& error) {
      report = error.message();
    }
    std::u16string expected = Filled(Filled(row.report, u"{bar}", bar), u"{temp}", FromWide(temp));
    if (!row.faults.empty())
      expected = Filled(expected, u"{reason}", SystemText(row.faults.back().error));
    EXPECT_EQ(ToUtf8(report), ToUtf8(expected));
    EXPECT_EQ(Contents(bars, fs::path(temp).filename().string()), row.folder);
    EXPECT_EQ(sleeps, row.sleeps);
  }
}

}  // namespace
}  // namespace bar
