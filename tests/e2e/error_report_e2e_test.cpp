// Failed toggles: the error report the user sees (caption, text, icon,
// button), files left exactly as they were, no notification, and the
// program waiting as a minimized window until the user closes it.
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/file_manager_stand_in.h"
#include "tests/e2e/kelvane_process.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/message_box.h"
#include "tests/e2e/window_probe.h"

namespace e2e {
namespace {

const std::string kMainBar =
    CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=a.exe", "cmd1=a", "iconic1=0"});
const std::string kSubBar =
    CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=zip.ico", "cmd1=zip.exe", "iconic1=0"});
const std::string kExpanded = CrLfLines(
    {"[Buttonbar]", "Buttoncount=3", "iconic1=0", "cmd1=a", "button1=a.exe", "button2=tools.barx1",
     "cmd2=-2", "iconic2=0", "button3=zip.ico", "cmd3=zip.exe", "iconic3=0"});

const std::string kExpandedAsToolsBar = CrLfLines(
    {"[Buttonbar]", "Buttoncount=3", "iconic1=0", "cmd1=a", "button1=a.exe", "button2=Tools.barx1",
     "cmd2=-2", "iconic2=0", "button3=zip.ico", "cmd3=zip.exe", "iconic3=0"});

struct FailureCase {
  const char* name;
  const wchar_t* exe_name;
  const wchar_t* caption;  // the application title, from the exe's name
  std::function<void(const ProgramFolder&)> prepare;
  // The program's own part of the message; `dir` is the program folder.
  std::function<std::string(const std::string& dir)> text;
  const wchar_t* arguments = L"tools.bar";
};

std::string CannotOpen(const std::string& path, DWORD error) {
  return "Cannot open file \"" + path + "\". " + SystemErrorText(error) + ".";
}

// The same report for a path the system refuses in its own words (Wine: no
// such path; Windows: a ":" inside makes the name invalid).
std::string CannotOpenAsTheSystemSays(const std::string& path) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD error = GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return CannotOpen(path, error);
}

// Names the case in failure messages.
void PrintTo(const FailureCase& test_case, std::ostream* os) { *os << test_case.name; }

// A main bar that holds tools.bar unfolded, as `expanded` spells it, and a
// vertical bar that does not.
std::function<void(const ProgramFolder&)> UnfoldedInTheMainBar(const std::string& expanded) {
  return [expanded](const ProgramFolder& folder) {
    folder.WriteSettings(L"Bar", kDefaultMainBar, L"Bar\\vertical.bar");
    folder.Write(kDefaultMainBar, expanded);
    folder.Write(L"Bar\\vertical.bar", kMainBar);
    folder.Write(L"Bar\\tools.bar", kSubBar);
  };
}

std::string HeldUnfoldedInTheMainBar(const std::string& dir) {
  return "Cannot expand \"" + dir + "Bar\\tools.bar\": the main bar \"" + dir +
         "Bar\\000_Osnovnaja.bar\" holds it unfolded; fold it there first.";
}

const FailureCase kFailures[] = {
    {"MissingSubBar", L"kelvane.exe", L"kelvane",
     [](const ProgramFolder& folder) { folder.Write(kDefaultMainBar, kMainBar); },
     [](const std::string& dir) {
       return CannotOpen(dir + "Bar\\tools.bar", ERROR_FILE_NOT_FOUND);
     }},
    {"MissingMainBar", L"KELVANE.EXE", L"Kelvane",
     [](const ProgramFolder& folder) { folder.Write(L"Bar\\tools.bar", kSubBar); },
     [](const std::string& dir) {
       return CannotOpen(dir + "Bar\\000_Osnovnaja.bar", ERROR_FILE_NOT_FOUND);
     }},
    {"MissingMainBarNamedWithRelativeSteps", L"kelvane.exe", L"kelvane",
     [](const ProgramFolder& folder) {
       folder.WriteSettings(L"Bars", L"Sub\\..\\Bars\\main.bar");
       folder.Write(L"Bars\\tools.bar", kSubBar);
     },
     // The message names the full path, the steps resolved.
     [](const std::string& dir) {
       return CannotOpen(dir + "Bars\\main.bar", ERROR_FILE_NOT_FOUND);
     }},
    // A full path in a setting is used as it stands: the report names the
    // missing file there, not behind the program folder.
    {"MissingBarFolderNamedByItsFullPath", L"kelvane.exe", L"kelvane",
     [](const ProgramFolder& folder) {
       folder.WriteSettings(folder.dir() + L"Elsewhere", kDefaultMainBar);
       folder.Write(kDefaultMainBar, kMainBar);
       folder.Write(L"Bar\\tools.bar", kSubBar);
     },
     [](const std::string& dir) {
       return CannotOpenAsTheSystemSays(dir + "Elsewhere\\tools.bar");
     }},
    {"MissingMainBarNamedByItsFullPath", L"kelvane.exe", L"kelvane",
     [](const ProgramFolder& folder) {
       folder.WriteSettings(L"Bar", folder.Path(L"Elsewhere\\main.bar"));
       folder.Write(kDefaultMainBar, kMainBar);
       folder.Write(L"Bar\\tools.bar", kSubBar);
     },
     [](const std::string& dir) { return CannotOpenAsTheSystemSays(dir + "Elsewhere\\main.bar"); }},
    {"CountIsNotANumber", L"kelvane.exe", L"kelvane",
     [](const ProgramFolder& folder) {
       folder.Write(kDefaultMainBar,
                    CrLfLines({"[Buttonbar]", "Buttoncount=abc", "button1=a.exe"}));
       folder.Write(L"Bar\\tools.bar", kSubBar);
     },
     // The message ends in a letter, so the report appends the full stop.
     [](const std::string&) { return std::string("'abc' is not a valid integer value."); }},
    {"CollapseCannotCreateTheSubBar", L"kelvane.exe", L"kelvane",
     [](const ProgramFolder& folder) {
       folder.WriteSettings(L"Gone", L"Bar\\main.bar");
       folder.Write(L"Bar\\main.bar", kExpanded);
     },
     [](const std::string& dir) {
       return "Cannot create file \"" + dir + "Gone\\tools.bar\". " +
              SystemErrorText(ERROR_PATH_NOT_FOUND) + ".";
     }},
    // One sub-bar is unfolded in one bar at a time, in any spelling of its
    // name.
    {"UnfoldedInTheMainBarRefusedInTheVertical", L"kelvane.exe", L"kelvane",
     UnfoldedInTheMainBar(kExpanded), HeldUnfoldedInTheMainBar, L"tools.bar /vertical"},
    {"UnfoldedInTheMainBarSpelledOtherwiseRefusedInTheVertical", L"kelvane.exe", L"kelvane",
     UnfoldedInTheMainBar(kExpandedAsToolsBar), HeldUnfoldedInTheMainBar, L"tools.bar /vertical"},
};

class ErrorReportTest : public KelvaneTest, public testing::WithParamInterface<FailureCase> {
 protected:
  ErrorReportTest() : KelvaneTest(1252, GetParam().exe_name) {}
};

TEST_P(ErrorReportTest, ReportsLeavesFilesAloneAndWaitsMinimized) {
  const FailureCase& failure = GetParam();
  failure.prepare(folder_);
  const auto files_before = folder_.Snapshot();
  FileManagerStandIn file_manager;

  KelvaneProcess run(folder_.exe(), failure.arguments);
  const auto box = WaitForMessageBox(run.id(), kStartTimeoutMs);
  ASSERT_TRUE(box) << "no error report within " << kStartTimeoutMs / 1000 << " s";
  EXPECT_EQ(Utf8(box->caption), Utf8(failure.caption));
  EXPECT_EQ(Utf8(box->text), failure.text(Utf8(folder_.dir())));
  ASSERT_EQ(box->buttons.size(), 1u) << Describe(*box);
  EXPECT_EQ(Utf8(box->buttons[0]), "OK");
  ASSERT_TRUE(box->icon) << "no icon";
  EXPECT_TRUE(ShowsSystemIcon(box->icon, IDI_HAND, 3000)) << "not the stop icon";
  ASSERT_TRUE(DismissWithOk(*box, kExitTimeoutMs));

  HWND window =
      PollFor([&] { return FindTopLevel(run.id(), L"", kWindowCaption); }, kStartTimeoutMs);
  ASSERT_TRUE(window) << "no window \"" << Utf8(kWindowCaption) << "\" after the report";
  EXPECT_TRUE(IsIconic(window));
  ASSERT_TRUE(WaitUntilIdle(window, kStartTimeoutMs));
  EXPECT_FALSE(run.WaitForExit(300)) << "the program ended by itself after a failure";
  EXPECT_FALSE(FindMessageBox(run.id())) << "a second report";

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(run.WaitForExit()) << "closing the window did not end the program";
  EXPECT_EQ(folder_.Snapshot(), files_before);
  EXPECT_EQ(file_manager.UserMessages().size(), 0u) << Describe(file_manager.UserMessages());
}

INSTANTIATE_TEST_SUITE_P(Failures, ErrorReportTest, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

using EmptyMainBarTest = KelvaneTest;

TEST_F(EmptyMainBarTest, DoesNothingAndWaitsMinimized) {
  folder_.Write(kDefaultMainBar, "");
  folder_.Write(L"Bar\\tools.bar", kSubBar);
  const auto files_before = folder_.Snapshot();
  FileManagerStandIn file_manager;

  KelvaneProcess run(folder_.exe(), L"tools.bar");
  ASSERT_TRUE(run.WaitUntilIdle());
  HWND window =
      PollFor([&] { return FindTopLevel(run.id(), L"", kWindowCaption); }, kStartTimeoutMs);
  ASSERT_TRUE(window) << "no window \"" << Utf8(kWindowCaption) << "\"";
  EXPECT_TRUE(IsIconic(window));
  EXPECT_FALSE(run.WaitForExit(300)) << "the program ended by itself";
  EXPECT_FALSE(FindMessageBox(run.id()));

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(run.WaitForExit());
  EXPECT_EQ(folder_.Snapshot(), files_before);
  EXPECT_EQ(file_manager.UserMessages().size(), 0u) << Describe(file_manager.UserMessages());
}

}  // namespace
}  // namespace e2e
