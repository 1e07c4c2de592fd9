// Toggles whose files fail them, run by the real program on real files: a
// missing bar folder, a read-only bar, a folder where a bar should be, a
// bar another program holds open (briefly, or for longer than the program
// waits), a full disk, a bar folder that takes no temporary file. For
// each, in the expand and in the collapse: the error report's caption and
// text, every file of the program folder byte for byte with its read-only
// attribute, no temporary file left behind, no word to the file manager;
// and, once the fault is mended, a run that ends exactly where a run
// without it would have.
//
// scripts/wine-faults.sh runs these with a wineserver that lacks root's
// power over files nobody may write, and with the temporary folder on a
// small disk of its own, which the disk-full cases fill.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "bar/file_handle_win.h"
#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/file_manager_stand_in.h"
#include "tests/e2e/kelvane_process.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/message_box.h"
#include "tests/e2e/window_probe.h"

namespace e2e {
namespace {

constexpr wchar_t kPar[] = L"tools.bar";
constexpr wchar_t kSubBar[] = L"Bar\\tools.bar";
constexpr DWORD kRunTimeoutMs = 30000;

// Every file of the program folder but the program, its bytes preceded by
// "read-only" when it has that attribute.
using Files = std::map<std::wstring, std::string>;

Files FilesOf(const ProgramFolder& folder) {
  Files files = folder.Snapshot();
  for (auto& [relative, bytes] : files) {
    const DWORD attributes = GetFileAttributesW(folder.Path(relative).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      bytes = "read-only\n" + bytes;
    }
  }
  return files;
}

// Names each file that is missing, extra or different, and where it
// differs: the bars of the disk-full cases are too long to print whole.
testing::AssertionResult SameFiles(const Files& actual, const Files& expected) {
  std::string differences;
  for (const auto& [relative, bytes] : expected) {
    const auto found = actual.find(relative);
    if (found == actual.end()) {
      differences += "\n  " + Utf8(relative) + " is missing";
    } else if (found->second != bytes) {
      const auto mismatch =
          std::mismatch(bytes.begin(), bytes.end(), found->second.begin(), found->second.end());
      differences += "\n  " + Utf8(relative) + " differs from byte " +
                     std::to_string(mismatch.first - bytes.begin()) + " on (" +
                     std::to_string(found->second.size()) + " bytes, expected " +
                     std::to_string(bytes.size()) + "): \"" + found->second.substr(0, 300) + "\"";
    }
  }
  for (const auto& [relative, bytes] : actual) {
    if (!expected.count(relative)) differences += "\n  " + Utf8(relative) + " should not be there";
  }
  if (differences.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the program folder differs:" << differences;
}

// A bar of `count` entries whose lines name `tag`.
std::string Bar(const std::string& tag, int count) {
  std::vector<std::string> lines = {"[Buttonbar]", "Buttoncount=" + std::to_string(count)};
  for (int n = 1; n <= count; ++n) {
    const std::string number = std::to_string(n);
    lines.push_back("button" + number + "=c:\\tools\\" + tag + number + ".ico");
    lines.push_back("cmd" + number + "=" + tag + number + ".exe /s");
    lines.push_back("iconic" + number + "=0");
  }
  return CrLfLines(lines);
}

// The bars a case starts from. The large ones make the file the disk-full
// cases mean to cut short much larger than the room left on the disk, and
// the file saved before it much smaller.
enum class Bars { kSmall, kLargeMain, kLargeSub };

std::string MainBarOf(Bars bars) { return Bar("main", bars == Bars::kLargeMain ? 3000 : 2); }
std::string SubBarOf(Bars bars) { return Bar("tool", bars == Bars::kLargeSub ? 3000 : 2); }

bool RunsToItsEnd(const ProgramFolder& folder) {
  KelvaneProcess run(folder.exe(), kPar);
  return run.WaitForExit(kRunTimeoutMs);
}

// The program folder after the expand and after the collapse of a run
// without faults, computed once for each kind of bars.
struct CleanRuns {
  Files expanded;
  Files collapsed;
};

const CleanRuns& Clean(Bars bars) {
  static std::map<Bars, CleanRuns> cache;
  auto known = cache.find(bars);
  if (known != cache.end()) return known->second;
  ProgramFolder folder;
  folder.Write(kDefaultMainBar, MainBarOf(bars));
  folder.Write(kSubBar, SubBarOf(bars));
  CleanRuns clean;
  if (RunsToItsEnd(folder)) clean.expanded = FilesOf(folder);
  if (RunsToItsEnd(folder)) clean.collapsed = FilesOf(folder);
  return cache[bars] = clean;
}

// Another program's handle on a file: the file manager reading its bar
// shares reading only, so the file can be read but not replaced; a program
// that shares nothing keeps everyone out.
class HeldFile : public bar::FileHandle {
 public:
  HeldFile(const std::wstring& path, DWORD share)
      : FileHandle(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {}
};

bool TemporaryFileBeside(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L".kelvane-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// Holds a bar for reading until the program has its new content ready
// beside it and has tried to put it in place, then lets go while the
// program is still trying: a reader that is done within the program's
// patience.
class BriefReader {
 public:
  explicit BriefReader(const std::wstring& path)
      : held_(path, FILE_SHARE_READ), thread_([this, path] { Run(path); }) {}
  ~BriefReader() { Finish(); }
  BriefReader(const BriefReader&) = delete;
  BriefReader& operator=(const BriefReader&) = delete;

  bool ok() const { return held_.ok(); }
  // Waits until the reader has let go; tells whether the program's new
  // content waited beside the bar while it was held, and was still
  // waiting when the reader let go.
  bool Finish() {
    if (thread_.joinable()) thread_.join();
    return saw_the_program_wait_;
  }

 private:
  void Run(const std::wstring& path) {
    PollFor([&] { return TemporaryFileBeside(path); }, kRunTimeoutMs);
    Sleep(200);  // well within the program's second of retries
    saw_the_program_wait_ = TemporaryFileBeside(path);
    held_.Close();
  }

  HeldFile held_;
  bool saw_the_program_wait_ = false;
  std::thread thread_;
};

// The wrapper script gives the temporary folder a small disk of its own;
// this fills it up to `room` bytes and frees it again when it goes.
class DiskFiller {
 public:
  explicit DiskFiller(ULONGLONG room) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"kelvane disk filler";
    ULARGE_INTEGER free_bytes{};
    if (!GetDiskFreeSpaceExW(temp, &free_bytes, nullptr, nullptr)) return;
    if (free_bytes.QuadPart <= room) return;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string chunk(1 << 20, '\0');
    ULONGLONG left = free_bytes.QuadPart - room;
    while (left > 0) {
      const DWORD size = static_cast<DWORD>(std::min<ULONGLONG>(left, chunk.size()));
      DWORD written = 0;
      if (!WriteFile(file, chunk.data(), size, &written, nullptr) || written == 0) break;
      left -= written;
    }
    CloseHandle(file);
    ULARGE_INTEGER after{};
    ok_ =
        left == 0 && GetDiskFreeSpaceExW(temp, &after, nullptr, nullptr) && after.QuadPart <= room;
  }
  ~DiskFiller() { DeleteFileW(path_.c_str()); }
  DiskFiller(const DiskFiller&) = delete;
  DiskFiller& operator=(const DiskFiller&) = delete;

  bool ok() const { return ok_; }

 private:
  std::wstring path_;
  bool ok_ = false;
};

// Room for the small files of a case, far too little for its large one.
constexpr ULONGLONG kRoomOnFullDisk = 64 * 1024;

// What stands in the program's way while the toggle runs; all of it goes
// when the case mends the fault, or at the end of the test.
struct Obstacles {
  std::vector<std::unique_ptr<HeldFile>> held;
  std::unique_ptr<BriefReader> brief_reader;
  std::unique_ptr<DiskFiller> filler;

  bool ok() const {
    for (const auto& file : held) {
      if (!file->ok()) return false;
    }
    return (!brief_reader || brief_reader->ok()) && (!filler || filler->ok());
  }
  void Clear() {
    held.clear();
    if (brief_reader) saw_the_program_wait = brief_reader->Finish();
    brief_reader.reset();
    filler.reset();
  }

  // What the brief reader saw, kept when it goes.
  bool saw_the_program_wait = false;
};

enum class Start { kOriginal, kExpanded };

using Obstruct = std::function<void(const ProgramFolder&, Obstacles&)>;
using Prepare = std::function<void(const ProgramFolder&)>;

struct FaultCase {
  const char* name;
  Bars bars;
  Start start;
  Prepare prepare;    // changes the files, before the program folder is looked at
  Obstruct obstruct;  // then puts obstacles in the program's way
  // The text of the error report, `dir` being the program folder; null
  // when the toggle is to succeed all the same.
  std::function<std::string(const std::string& dir)> report;
  // A collapse whose main bar failed has written the sub-bar already.
  bool sub_bar_written;
  // Mends the fault once the obstacles are gone, so that the toggle is run
  // again; null: not run again.
  Prepare mend;
  bool needs_small_disk;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

Obstruct Hold(const std::wstring& relative, DWORD share) {
  return [=](const ProgramFolder& folder, Obstacles& obstacles) {
    obstacles.held.push_back(std::make_unique<HeldFile>(folder.Path(relative), share));
  };
}

Obstruct HoldBriefly(const std::wstring& relative) {
  return [=](const ProgramFolder& folder, Obstacles& obstacles) {
    obstacles.brief_reader = std::make_unique<BriefReader>(folder.Path(relative));
  };
}

Obstruct FillTheDisk() {
  return [](const ProgramFolder&, Obstacles& obstacles) {
    obstacles.filler = std::make_unique<DiskFiller>(kRoomOnFullDisk);
  };
}

const Obstruct kNoObstacle = [](const ProgramFolder&, Obstacles&) {};

Prepare SetReadOnly(const std::wstring& relative, bool read_only) {
  return [=](const ProgramFolder& folder) {
    SetFileAttributesW(folder.Path(relative).c_str(),
                       read_only ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  };
}

Prepare MakeFolder(const std::wstring& relative) {
  return [=](const ProgramFolder& folder) {
    DeleteFileW(folder.Path(relative).c_str());
    CreateDirectoryW(folder.Path(relative).c_str(), nullptr);
  };
}

Prepare RemoveFolder(const std::wstring& relative) {
  return [=](const ProgramFolder& folder) { RemoveDirectoryW(folder.Path(relative).c_str()); };
}

const Prepare kNoChange = [](const ProgramFolder&) {};

std::function<std::string(const std::string&)> Report(const std::string& what,
                                                      const std::wstring& relative, DWORD error) {
  return [=](const std::string& dir) {
    return what + " file \"" + dir + Utf8(relative) + "\". " + SystemErrorText(error) + ".";
  };
}

std::string StreamWriteError(const std::string&) { return "Stream write error."; }

// A main bar whose name leaves no room for the temporary file's suffix: the
// save cannot make one beside it.
const std::wstring kLongMainBar = L"Bar\\" + std::wstring(240, L'n') + L".bar";

Prepare MoveMainBarToALongName() {
  return [](const ProgramFolder& folder) {
    MoveFileW(folder.Path(kDefaultMainBar).c_str(), folder.Path(kLongMainBar).c_str());
    folder.WriteSettings(L"Bar", kLongMainBar);
  };
}

// The system's reason for refusing such a name, whatever its words; the
// program names a path that long in its \\?\ form.
std::string NoTemporaryFileInTheBarFolder(const std::string& dir) {
  const std::wstring temporary = L"\\\\?\\" + Wide(dir) + kLongMainBar + L".kelvane-1-0.tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileW(temporary.c_str());
  }
  return "Cannot create a temporary file in the folder \"" + dir + "Bar\". " +
         SystemErrorText(error) + ".";
}

class FaultTest : public KelvaneTest, public testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    KelvaneTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (!std::getenv("KELVANE_FAULT_RUNNER")) {
      GTEST_SKIP() << "run by scripts/wine-faults.sh (ctest entry e2e_faults)";
    }
    if (GetParam().needs_small_disk && !std::getenv("KELVANE_FAULT_SMALL_DISK")) {
      GTEST_SKIP() << "the temporary folder has no small disk of its own (mounting a tmpfs "
                      "failed); the native tests cover writes cut short";
    }
  }

  // Runs the toggle until it ends by itself (returns "") or reports an
  // error (returns the report's caption and text). A report is dismissed
  // and the program's window, left minimized, closed.
  std::string RunToTheEndOrAReport() {
    KelvaneProcess run(folder_.exe(), kPar);
    const ULONGLONG deadline = GetTickCount64() + kRunTimeoutMs;
    std::optional<MessageBoxView> box;
    while (run.Running() && !(box = FindMessageBox(run.id()))) {
      if (GetTickCount64() > deadline) return "neither an end nor a report";
      Sleep(15);
    }
    if (!box) return "";
    const std::string report = Utf8(box->caption) + ": " + Utf8(box->text);
    EXPECT_TRUE(DismissWithOk(*box, kExitTimeoutMs));
    HWND window =
        PollFor([&] { return FindTopLevel(run.id(), L"", kWindowCaption); }, kStartTimeoutMs);
    EXPECT_TRUE(window) << "no window after the report";
    if (window) {
      EXPECT_TRUE(IsIconic(window));
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(run.WaitForExit()) << "closing the window did not end the program";
    return report;
  }
};

TEST_P(FaultTest, EndsWithWholeBars) {
  const FaultCase& c = GetParam();
  const CleanRuns& clean = Clean(c.bars);
  ASSERT_FALSE(clean.collapsed.empty()) << "the toggle without faults failed";
  const Files& clean_end = c.start == Start::kOriginal ? clean.expanded : clean.collapsed;
  folder_.Write(kDefaultMainBar, MainBarOf(c.bars));
  folder_.Write(kSubBar, SubBarOf(c.bars));
  if (c.start == Start::kExpanded) {
    ASSERT_TRUE(Toggle(kPar));
  }
  c.prepare(folder_);
  const Files before = FilesOf(folder_);
  FileManagerStandIn file_manager;
  Obstacles obstacles;
  c.obstruct(folder_, obstacles);
  ASSERT_TRUE(obstacles.ok()) << "the obstacle could not be set up";

  const std::string report = RunToTheEndOrAReport();
  const bool brief_reader = obstacles.brief_reader != nullptr;
  obstacles.Clear();

  if (!c.report) {
    EXPECT_EQ(report, "");
    if (brief_reader) {
      EXPECT_TRUE(obstacles.saw_the_program_wait) << "the program did not wait for the reader";
    }
    // What a clean run writes, in files that keep their read-only mark.
    Files expected = clean_end;
    for (const auto& [relative, bytes] : before) {
      if (bytes.rfind("read-only\n", 0) == 0) expected[relative].insert(0, "read-only\n");
    }
    EXPECT_TRUE(SameFiles(FilesOf(folder_), expected));
    EXPECT_EQ(file_manager.UserMessages().size(), 2u) << Describe(file_manager.UserMessages());
    return;
  }
  EXPECT_EQ(report, "kelvane: " + c.report(Utf8(folder_.dir())));
  Files expected = before;
  if (c.sub_bar_written) expected[kSubBar] = clean.collapsed.at(kSubBar);
  EXPECT_TRUE(SameFiles(FilesOf(folder_), expected));
  EXPECT_EQ(file_manager.UserMessages().size(), 0u) << Describe(file_manager.UserMessages());

  if (!c.mend) return;
  c.mend(folder_);
  ASSERT_TRUE(Toggle(kPar));
  EXPECT_TRUE(SameFiles(FilesOf(folder_), clean_end));
  EXPECT_EQ(file_manager.UserMessages().size(), 2u) << Describe(file_manager.UserMessages());
}

constexpr DWORD kShareNothing = 0;

const FaultCase kFaults[] = {
    {"ExpandBarFolderMissing", Bars::kSmall, Start::kOriginal,
     [](const ProgramFolder& folder) { folder.WriteSettings(L"Gone", kDefaultMainBar); },
     kNoObstacle, Report("Cannot open", L"Gone\\tools.bar", ERROR_PATH_NOT_FOUND), false, nullptr,
     false},
    {"ExpandMainBarReadOnly", Bars::kSmall, Start::kOriginal, SetReadOnly(kDefaultMainBar, true),
     kNoObstacle, Report("Cannot create", kDefaultMainBar, ERROR_ACCESS_DENIED), false,
     SetReadOnly(kDefaultMainBar, false), false},
    {"ExpandMainBarIsAFolder", Bars::kSmall, Start::kOriginal, MakeFolder(kDefaultMainBar),
     kNoObstacle, Report("Cannot open", kDefaultMainBar, ERROR_ACCESS_DENIED), false, nullptr,
     false},
    {"ExpandSubBarIsAFolder", Bars::kSmall, Start::kOriginal, MakeFolder(kSubBar), kNoObstacle,
     Report("Cannot open", kSubBar, ERROR_ACCESS_DENIED), false, nullptr, false},
    {"ExpandMainBarHeldBySomeoneSharingNothing", Bars::kSmall, Start::kOriginal, kNoChange,
     Hold(kDefaultMainBar, kShareNothing),
     Report("Cannot open", kDefaultMainBar, ERROR_SHARING_VIOLATION), false, kNoChange, false},
    {"ExpandSubBarHeldBySomeoneSharingNothing", Bars::kSmall, Start::kOriginal, kNoChange,
     Hold(kSubBar, kShareNothing), Report("Cannot open", kSubBar, ERROR_SHARING_VIOLATION), false,
     kNoChange, false},
    {"ExpandMainBarReadBriefly", Bars::kSmall, Start::kOriginal, kNoChange,
     HoldBriefly(kDefaultMainBar), nullptr, false, nullptr, false},
    {"ExpandMainBarReadTooLong", Bars::kSmall, Start::kOriginal, kNoChange,
     Hold(kDefaultMainBar, FILE_SHARE_READ),
     Report("Cannot create", kDefaultMainBar, ERROR_ACCESS_DENIED), false, kNoChange, false},
    {"ExpandOnAFullDisk", Bars::kLargeMain, Start::kOriginal, kNoChange, FillTheDisk(),
     StreamWriteError, false, kNoChange, true},
    {"ExpandMainBarFolderTakesNoTemporaryFile", Bars::kSmall, Start::kOriginal,
     MoveMainBarToALongName(), kNoObstacle, NoTemporaryFileInTheBarFolder, false, nullptr, false},
    // The expand only reads the sub-bar.
    {"ExpandSubBarReadOnly", Bars::kSmall, Start::kOriginal, SetReadOnly(kSubBar, true),
     kNoObstacle, nullptr, false, nullptr, false},

    {"CollapseSubBarReadOnly", Bars::kSmall, Start::kExpanded, SetReadOnly(kSubBar, true),
     kNoObstacle, Report("Cannot create", kSubBar, ERROR_ACCESS_DENIED), false,
     SetReadOnly(kSubBar, false), false},
    // The collapse reads the sub-bar file first, to keep what no entry owns.
    {"CollapseSubBarIsAFolder", Bars::kSmall, Start::kExpanded, MakeFolder(kSubBar), kNoObstacle,
     Report("Cannot open", kSubBar, ERROR_ACCESS_DENIED), false, RemoveFolder(kSubBar), false},
    {"CollapseSubBarHeldBySomeoneSharingNothing", Bars::kSmall, Start::kExpanded, kNoChange,
     Hold(kSubBar, kShareNothing), Report("Cannot open", kSubBar, ERROR_SHARING_VIOLATION), false,
     kNoChange, false},
    {"CollapseSubBarOnAFullDisk", Bars::kLargeSub, Start::kExpanded, kNoChange, FillTheDisk(),
     StreamWriteError, false, kNoChange, true},
    // The sub-bar is written, the main bar still holds the expanded block:
    // the next run collapses again and rebuilds the same sub-bar.
    {"CollapseMainBarReadOnly", Bars::kSmall, Start::kExpanded, SetReadOnly(kDefaultMainBar, true),
     kNoObstacle, Report("Cannot create", kDefaultMainBar, ERROR_ACCESS_DENIED), true,
     SetReadOnly(kDefaultMainBar, false), false},
    {"CollapseMainBarReadTooLong", Bars::kSmall, Start::kExpanded, kNoChange,
     Hold(kDefaultMainBar, FILE_SHARE_READ),
     Report("Cannot create", kDefaultMainBar, ERROR_ACCESS_DENIED), true, kNoChange, false},
    {"CollapseMainBarFolderTakesNoTemporaryFile", Bars::kSmall, Start::kExpanded,
     MoveMainBarToALongName(), kNoObstacle, NoTemporaryFileInTheBarFolder, true, nullptr, false},
    {"CollapseMainBarReadBriefly", Bars::kSmall, Start::kExpanded, kNoChange,
     HoldBriefly(kDefaultMainBar), nullptr, false, nullptr, false},
    {"CollapseMainBarOnAFullDisk", Bars::kLargeMain, Start::kExpanded, kNoChange, FillTheDisk(),
     StreamWriteError, true, kNoChange, true},
};

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
