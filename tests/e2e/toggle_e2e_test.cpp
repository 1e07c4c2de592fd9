// Toggles of sub-bars, run by the real program on real files: the exact
// bytes it writes, in every encoding a main bar can come in.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/system_function_win.h"
#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/kelvane_process.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/message_box.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

using ToggleTest = KelvaneTest;

TEST_F(ToggleTest, ExpandAppendsTheMarkerEntryAndTheRenumberedSubBar) {
  const std::string sub_bar =
      CrLfLines({"[Buttonbar]", "Buttoncount=2", "button1=x.exe", "cmd1=x", "iconic1=0", "",
                 "button2=y.exe", "cmd2=y2.cmd", "iconic2=1"});
  folder_.Write(kDefaultMainBar,
                CrLfLines({"[Buttonbar]", "Buttoncount=2", "button1=a.exe", "cmd1=a", "iconic1=0",
                           "button2=b.exe", "cmd2=b", "iconic2=0"}));
  folder_.Write(L"Bar\\tools.bar", sub_bar);

  ASSERT_TRUE(Toggle(L"tools.bar"));

  EXPECT_TRUE(
      FileHolds(kDefaultMainBar,
                CrLfLines({"[Buttonbar]", "Buttoncount=5", "iconic1=0", "cmd1=a", "button1=a.exe",
                           "iconic2=0", "cmd2=b", "button2=b.exe", "button3=tools.barx1", "cmd3=-2",
                           "iconic3=0", "button4=x.exe", "cmd4=x", "iconic4=0", "button5=y.exe",
                           "cmd5=y2.cmd", "iconic5=1"})));
  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar", sub_bar));
  EXPECT_FALSE(folder_.Read(L"kelvane.ini")) << "reading the settings must not create the file";
}

// The main bar before the expand, the same main bar expanded, and both
// files after the collapse: the round trip the two operations promise.
const Lines kOwnEntries = {"[Buttonbar]", "Buttoncount=2",    "button1=edit.ico", "cmd1=edit.exe",
                           "iconic1=0",   "button2=calc.ico", "cmd2=calc.exe",    "iconic2=0"};
const Lines kToolsSubBar = {"[Buttonbar]", "Buttoncount=2",   "button1=zip.ico", "cmd1=zip.exe",
                            "iconic1=0",   "button2=ftp.ico", "cmd2=ftp.exe",    "iconic2=0"};
const Lines kToolsExpanded = {"[Buttonbar]",   "Buttoncount=5",    "iconic1=0",
                              "cmd1=edit.exe", "button1=edit.ico", "iconic2=0",
                              "cmd2=calc.exe", "button2=calc.ico", "button3=tools.barx1",
                              "cmd3=-2",       "iconic3=0",        "button4=zip.ico",
                              "cmd4=zip.exe",  "iconic4=0",        "button5=ftp.ico",
                              "cmd5=ftp.exe",  "iconic5=0"};
const Lines kToolsCollapsed = {"[Buttonbar]",  "Buttoncount=2",   "iconic1=0",
                               "cmd1=zip.exe", "button1=zip.ico", "iconic2=0",
                               "cmd2=ftp.exe", "button2=ftp.ico"};
const Lines kOwnEntriesCollapsed = {"[Buttonbar]",   "Buttoncount=2",    "iconic1=0",
                                    "cmd1=edit.exe", "button1=edit.ico", "iconic2=0",
                                    "cmd2=calc.exe", "button2=calc.ico"};

TEST_F(ToggleTest, CollapseAfterExpandGivesBothFilesBack) {
  folder_.Write(kDefaultMainBar, CrLfLines(kOwnEntries));
  // The sub-bar comes in UTF-8 with its mark and goes back so.
  folder_.Write(L"Bar\\tools.bar", Utf8WithBom(CrLfLines(kToolsSubBar)));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  ASSERT_TRUE(FileHolds(kDefaultMainBar, CrLfLines(kToolsExpanded)));
  ASSERT_TRUE(Toggle(L"tools.bar"));

  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar", Utf8WithBom(CrLfLines(kToolsCollapsed))));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines(kOwnEntriesCollapsed)));
}

// Bars are INI files: other sections, comments and the header's own
// spelling come back as they were, each file in its own encoding.
TEST_F(ToggleTest, OtherSectionsAndCommentsComeBackAsTheyWere) {
  const std::string main_bar =
      CrLfLines({"[options]", "redirect=0", "", "[ButtonBar]", "Buttoncount=2", "button1=edit.ico",
                 "button2=calc.ico", "", "[Later]", "x=1"});
  const std::string sub_bar =
      Utf16LeWithBom(CrLfLines({"; my tools", "[Buttonbar]", "Buttoncount=2", "button1=zip.ico",
                                "; ftp next", "button2=ftp.ico", "", "[options]", "redirect=0"}));
  folder_.Write(kDefaultMainBar, main_bar);
  folder_.Write(L"Bar\\tools.bar", sub_bar);

  ASSERT_TRUE(Toggle(L"tools.bar"));
  ASSERT_TRUE(FileHolds(
      kDefaultMainBar,
      CrLfLines({"[options]", "redirect=0", "", "[ButtonBar]", "Buttoncount=5", "button1=edit.ico",
                 "button2=calc.ico", "button3=tools.barx1", "cmd3=-2", "iconic3=0",
                 "button4=zip.ico", "button5=ftp.ico", "", "[Later]", "x=1"})));
  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, main_bar));
  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar", sub_bar));
}

// Where the settings and the argument put the two bars: the program folder,
// then pathBar, a "\" and the argument for the sub-bar; the program folder
// and pathMainPanel for the main bar.
struct PathCase {
  const char* name;
  const wchar_t* path_bar;
  const wchar_t* path_main_panel;
  const wchar_t* argument;  // as the command line has it
  const wchar_t* sub_bar;   // where that puts the sub-bar
  const char* marker;       // the argument as the marker entry names it
};

// Names the case in failure messages.
void PrintTo(const PathCase& test_case, std::ostream* os) { *os << test_case.name; }

class SettingsPathTest : public KelvaneTest, public testing::WithParamInterface<PathCase> {};

TEST_P(SettingsPathTest, ToggleFindsBothBars) {
  const PathCase& c = GetParam();
  folder_.WriteSettings(c.path_bar, c.path_main_panel);
  folder_.Write(c.path_main_panel, CrLfLines(kOwnEntries));
  folder_.Write(c.sub_bar, CrLfLines(kToolsSubBar));

  ASSERT_TRUE(Toggle(c.argument));
  Lines expanded = kToolsExpanded;
  expanded[8] = std::string("button3=") + c.marker + "x1";
  ASSERT_TRUE(FileHolds(c.path_main_panel, CrLfLines(expanded)));

  ASSERT_TRUE(Toggle(c.argument));
  EXPECT_TRUE(FileHolds(c.sub_bar, CrLfLines(kToolsCollapsed)));
  EXPECT_TRUE(FileHolds(c.path_main_panel, CrLfLines(kOwnEntriesCollapsed)));
  EXPECT_FALSE(folder_.Read(kDefaultMainBar));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsPathTest,
    testing::Values(PathCase{"BlanksInPathsAndArgument", L"My Bars", L"My Bars\\main bar.bar",
                             L"\"my tools.bar\"", L"My Bars\\my tools.bar", "my tools.bar"},
                    // The two "\" in a row count as one.
                    PathCase{"BarFolderEndingInABackslash", L"Bars\\", L"Bars\\main.bar",
                             L"tools.bar", L"Bars\\tools.bar", "tools.bar"},
                    PathCase{"EmptyBarFolderIsTheProgramFolder", L"", L"main.bar", L"tools.bar",
                             L"tools.bar", "tools.bar"},
                    PathCase{"ArgumentNamingAFileInASubfolder", L"Bars", L"Bars\\main.bar",
                             L"Sub\\tools.bar", L"Bars\\Sub\\tools.bar", "Sub\\tools.bar"}),
    [](const auto& info) { return std::string(info.param.name); });

// A main bar is written back in the encoding it was read in. The texts hold
// characters of several scripts and one outside the 16-bit plane, which
// only a Unicode encoding keeps.
struct EncodingCase {
  const char* name;
  std::string (*encode)(const std::string& utf8);
};

// Names the case in failure messages.
void PrintTo(const EncodingCase& test_case, std::ostream* os) { *os << test_case.name; }

class MainBarEncodingTest : public KelvaneTest, public testing::WithParamInterface<EncodingCase> {};

TEST_P(MainBarEncodingTest, ToggleKeepsTheMainBarsEncoding) {
  const auto encode = GetParam().encode;
  const Lines own = {"[Buttonbar]", "Buttoncount=1", "button1=%COMMANDER_PATH%\\Ärger.ico",
                     "cmd1=notepad.exe", "menu1=Блокнот 記事本 \xF0\x9F\x93\x9D"};
  folder_.Write(kDefaultMainBar, encode(CrLfLines(own)));
  folder_.Write(L"Bar\\tools.bar",
                CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=zip.ico", "cmd1=zip.exe"}));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  // One entry of three lines comes out of the sort reversed.
  EXPECT_TRUE(FileHolds(kDefaultMainBar,
                        encode(CrLfLines({"[Buttonbar]", "Buttoncount=3", own[4], own[3], own[2],
                                          "button2=tools.barx1", "cmd2=-2", "iconic2=0",
                                          "button3=zip.ico", "cmd3=zip.exe"}))));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, encode(CrLfLines({"[Buttonbar]", "Buttoncount=1", own[4],
                                                           own[3], own[2]}))));
  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar", CrLfLines({"[Buttonbar]", "Buttoncount=1",
                                                      "cmd1=zip.exe", "button1=zip.ico"})));
}

INSTANTIATE_TEST_SUITE_P(Unicode, MainBarEncodingTest,
                         testing::Values(EncodingCase{"Utf16Le", &Utf16LeWithBom},
                                         EncodingCase{"Utf8", &Utf8WithBom}),
                         [](const auto& info) { return std::string(info.param.name); });

// A sub-bar file that is gone by the collapse is written anew, in the
// legacy code page when that holds it.
TEST_F(ToggleTest, CollapsedSubBarIsInTheLegacyCodePageWhenItFits) {
  const Lines sub_bar = {"[Buttonbar]", "Buttoncount=1", "button1=café.ico", "cmd1=café.exe"};
  folder_.Write(kDefaultMainBar, CrLfLines({"[Buttonbar]", "Buttoncount=0"}));
  folder_.Write(L"Bar\\cafe.bar", Utf8WithBom(CrLfLines(sub_bar)));

  ASSERT_TRUE(Toggle(L"cafe.bar"));
  ASSERT_TRUE(DeleteFileW(folder_.Path(L"Bar\\cafe.bar").c_str()));
  ASSERT_TRUE(Toggle(L"cafe.bar"));

  EXPECT_TRUE(
      FileHolds(L"Bar\\cafe.bar",
                "[Buttonbar]\r\nButtoncount=1\r\ncmd1=caf\xE9.exe\r\nbutton1=caf\xE9.ico\r\n"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines({"[Buttonbar]", "Buttoncount=0"})));
}

// The legacy code page would turn these characters into question marks, so
// the sub-bar is written in UTF-16 with its mark instead: no data is lost.
TEST_F(ToggleTest, CollapsedSubBarFallsBackToUtf16WhenTheCodePageLacksACharacter) {
  const Lines sub_bar = {"[Buttonbar]", "Buttoncount=1", "button1=工具.ico", "cmd1=Блокнот.exe"};
  folder_.Write(kDefaultMainBar, Utf16LeWithBom(CrLfLines({"[Buttonbar]", "Buttoncount=0"})));
  folder_.Write(L"Bar\\tools.bar", Utf8WithBom(CrLfLines(sub_bar)));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  ASSERT_TRUE(DeleteFileW(folder_.Path(L"Bar\\tools.bar").c_str()));
  ASSERT_TRUE(Toggle(L"tools.bar"));

  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar",
                        Utf16LeWithBom(CrLfLines({"[Buttonbar]", "Buttoncount=1",
                                                  "cmd1=Блокнот.exe", "button1=工具.ico"}))));
  EXPECT_TRUE(
      FileHolds(kDefaultMainBar, Utf16LeWithBom(CrLfLines({"[Buttonbar]", "Buttoncount=0"}))));
}

TEST_F(ToggleTest, LoneLineEndsComeBackAsCrLf) {
  folder_.Write(kDefaultMainBar, "[Buttonbar]\nButtoncount=1\rbutton1=a.exe\ncmd1=a");
  folder_.Write(L"Bar\\tools.bar", "[Buttonbar]\nButtoncount=0\n");

  ASSERT_TRUE(Toggle(L"tools.bar"));

  EXPECT_TRUE(FileHolds(kDefaultMainBar,
                        CrLfLines({"[Buttonbar]", "Buttoncount=2", "cmd1=a", "button1=a.exe",
                                   "button2=tools.barx1", "cmd2=-2", "iconic2=0"})));
  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar", "[Buttonbar]\nButtoncount=0\n"));
}

// The marker text of a.bar, "a.barx1", also stands inside the marker line
// of an expanded data.bar. Taking that line for a.bar's marker would
// collapse the wrong block into a.bar, overwriting it; only a.bar's own
// marker entry counts.
TEST_F(ToggleTest, AnotherSubBarsMarkerIsNotTakenForThisOnes) {
  const Lines data = {"[Buttonbar]", "Buttoncount=1", "button1=db.ico", "cmd1=db.exe"};
  const Lines a = {"[Buttonbar]", "Buttoncount=1", "button1=a.ico", "cmd1=a.exe"};
  folder_.Write(kDefaultMainBar,
                CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=edit.ico", "cmd1=edit.exe"}));
  folder_.Write(L"Bar\\data.bar", CrLfLines(data));
  folder_.Write(L"Bar\\a.bar", CrLfLines(a));
  ASSERT_TRUE(Toggle(L"data.bar"));

  ASSERT_TRUE(Toggle(L"a.bar"));
  EXPECT_TRUE(FileHolds(L"Bar\\a.bar", CrLfLines(a))) << "a.bar was collapsed, not expanded";
  ASSERT_TRUE(FileHolds(
      kDefaultMainBar,
      CrLfLines({"[Buttonbar]", "Buttoncount=5", "button1=edit.ico", "cmd1=edit.exe", "iconic2=0",
                 "cmd2=-2", "button2=data.barx1", "cmd3=db.exe", "button3=db.ico",
                 "button4=a.barx1", "cmd4=-2", "iconic4=0", "button5=a.ico", "cmd5=a.exe"})));

  ASSERT_TRUE(Toggle(L"a.bar"));
  EXPECT_TRUE(FileHolds(
      L"Bar\\a.bar", CrLfLines({"[Buttonbar]", "Buttoncount=1", "cmd1=a.exe", "button1=a.ico"})));
  ASSERT_TRUE(Toggle(L"data.bar"));
  EXPECT_TRUE(FileHolds(L"Bar\\data.bar", CrLfLines(data)));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines({"[Buttonbar]", "Buttoncount=1",
                                                    "button1=edit.ico", "cmd1=edit.exe"})));
}

// A block ends at the next sub-bar's marker entry even when that sub-bar's
// name does not end in "bar", so its entries stay out of this sub-bar.
TEST_F(ToggleTest, NextBlockEndsTheBlockWhateverItsSubBarIsCalled) {
  folder_.Write(kDefaultMainBar,
                CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=edit.ico", "cmd1=edit.exe"}));
  folder_.Write(L"Bar\\a.bar",
                CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=a.ico", "cmd1=a.exe"}));
  folder_.Write(L"Bar\\tools.txt",
                CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=t.ico", "cmd1=t.exe"}));
  ASSERT_TRUE(Toggle(L"a.bar"));
  ASSERT_TRUE(Toggle(L"tools.txt"));

  ASSERT_TRUE(Toggle(L"a.bar"));
  EXPECT_TRUE(FileHolds(
      L"Bar\\a.bar", CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=a.ico", "cmd1=a.exe"})));
  EXPECT_TRUE(FileHolds(
      kDefaultMainBar,
      CrLfLines({"[Buttonbar]", "Buttoncount=3", "button1=edit.ico", "cmd1=edit.exe",
                 "button2=tools.txtx1", "cmd2=-2", "iconic2=0", "button3=t.ico", "cmd3=t.exe"})));
  ASSERT_TRUE(Toggle(L"tools.txt"));
  EXPECT_TRUE(FileHolds(L"Bar\\tools.txt", CrLfLines({"[Buttonbar]", "Buttoncount=1", "cmd1=t.exe",
                                                      "button1=t.ico"})));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines({"[Buttonbar]", "Buttoncount=1",
                                                    "button1=edit.ico", "cmd1=edit.exe"})));
}

// Two sub-bars expanded one after the other, collapsed in either order.
const Lines kSubBarA = {"[Buttonbar]", "Buttoncount=2",  "button1=a1.ico",
                        "cmd1=a1.exe", "button2=a2.ico", "cmd2=a2.exe"};
const Lines kSubBarB = {"[Buttonbar]",    "Buttoncount=3", "button1=b1.ico", "cmd1=b1.exe",
                        "button2=b2.ico", "cmd2=b2.exe",   "button3=b3.ico", "cmd3=b3.exe"};
const Lines kSubBarBCollapsed = {"[Buttonbar]", "Buttoncount=3",  "cmd1=b1.exe", "button1=b1.ico",
                                 "cmd2=b2.exe", "button2=b2.ico", "cmd3=b3.exe", "button3=b3.ico"};

class SeveralSubBarsTest : public KelvaneTest, public testing::WithParamInterface<bool> {
 protected:
  void ExpandBoth() {
    folder_.Write(kDefaultMainBar, CrLfLines(kOwnEntries));
    folder_.Write(L"Bar\\a.bar", CrLfLines(kSubBarA));
    folder_.Write(L"Bar\\b.bar", CrLfLines(kSubBarB));
    ASSERT_TRUE(Toggle(L"a.bar"));
    ASSERT_TRUE(
        FileHolds(kDefaultMainBar,
                  CrLfLines({"[Buttonbar]", "Buttoncount=5", "iconic1=0", "cmd1=edit.exe",
                             "button1=edit.ico", "iconic2=0", "cmd2=calc.exe", "button2=calc.ico",
                             "button3=a.barx1", "cmd3=-2", "iconic3=0", "button4=a1.ico",
                             "cmd4=a1.exe", "button5=a2.ico", "cmd5=a2.exe"})));
    ASSERT_TRUE(Toggle(L"b.bar"));
    ASSERT_TRUE(FileHolds(
        kDefaultMainBar,
        CrLfLines({"[Buttonbar]",    "Buttoncount=9",    "button1=edit.ico", "cmd1=edit.exe",
                   "iconic1=0",      "button2=calc.ico", "cmd2=calc.exe",    "iconic2=0",
                   "iconic3=0",      "cmd3=-2",          "button3=a.barx1",  "cmd4=a1.exe",
                   "button4=a1.ico", "cmd5=a2.exe",      "button5=a2.ico",   "button6=b.barx1",
                   "cmd6=-2",        "iconic6=0",        "button7=b1.ico",   "cmd7=b1.exe",
                   "button8=b2.ico", "cmd8=b2.exe",      "button9=b3.ico",   "cmd9=b3.exe"})));
  }
};

TEST_P(SeveralSubBarsTest, CollapsingBothRestoresAllThreeFiles) {
  const bool first_expanded_first = GetParam();
  ExpandBoth();
  if (HasFatalFailure()) return;

  if (first_expanded_first) {
    ASSERT_TRUE(Toggle(L"a.bar"));
    EXPECT_TRUE(FileHolds(L"Bar\\a.bar", CrLfLines(kSubBarA)));
    // The later block moves down to close the gap.
    EXPECT_TRUE(FileHolds(
        kDefaultMainBar,
        CrLfLines({"[Buttonbar]", "Buttoncount=6", "button1=edit.ico", "cmd1=edit.exe", "iconic1=0",
                   "button2=calc.ico", "cmd2=calc.exe", "iconic2=0", "button3=b.barx1", "cmd3=-2",
                   "iconic3=0", "button4=b1.ico", "cmd4=b1.exe", "button5=b2.ico", "cmd5=b2.exe",
                   "button6=b3.ico", "cmd6=b3.exe"})));
    ASSERT_TRUE(Toggle(L"b.bar"));
  } else {
    ASSERT_TRUE(Toggle(L"b.bar"));
    EXPECT_TRUE(FileHolds(L"Bar\\b.bar", CrLfLines(kSubBarBCollapsed)));
    EXPECT_TRUE(
        FileHolds(kDefaultMainBar,
                  CrLfLines({"[Buttonbar]", "Buttoncount=5", "button1=edit.ico", "cmd1=edit.exe",
                             "iconic1=0", "button2=calc.ico", "cmd2=calc.exe", "iconic2=0",
                             "iconic3=0", "cmd3=-2", "button3=a.barx1", "cmd4=a1.exe",
                             "button4=a1.ico", "cmd5=a2.exe", "button5=a2.ico"})));
    ASSERT_TRUE(Toggle(L"a.bar"));
  }

  EXPECT_TRUE(FileHolds(L"Bar\\a.bar", CrLfLines(kSubBarA)));
  EXPECT_TRUE(FileHolds(L"Bar\\b.bar", CrLfLines(kSubBarBCollapsed)));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines(kOwnEntries)));
}

INSTANTIATE_TEST_SUITE_P(Order, SeveralSubBarsTest, testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "FirstExpandedFirst" : "LastExpandedFirst");
});

// Kelvane's own buttons, with its unfold icon: unfolding shows the fold
// icon, and folding tools.bar folds net.bar, unfolded from inside it, too.
TEST_F(ToggleTest, OwnButtonsShowTheStateAndANestedBlockFoldsWithItsParent) {
  const Lines main_bar = {"[Buttonbar]", "Buttoncount=1", "button1=C:\\Tools\\kelvane.exe,1",
                          "cmd1=\"C:\\Program Files\\Kelvane\\kelvane.exe\"", "param1=tools.bar"};
  const Lines tools = {"[Buttonbar]",      "Buttoncount=2",   "button1=kelvane.exe,1",
                       "cmd1=kelvane.exe", "param1=net.bar",  "button2=KELVANE.EXE,1",
                       "cmd2=kelvane.exe", "param2=tools.bar"};
  folder_.Write(kDefaultMainBar, CrLfLines(main_bar));
  folder_.Write(L"Bar\\tools.bar", CrLfLines(tools));
  folder_.Write(L"Bar\\net.bar", CrLfLines({"[Buttonbar]", "Buttoncount=1", "cmd1=net.exe"}));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  ASSERT_TRUE(Toggle(L"net.bar"));
  ASSERT_TRUE(
      FileHolds(kDefaultMainBar,
                CrLfLines({"[Buttonbar]", "Buttoncount=6", "button1=C:\\Tools\\kelvane.exe,2",
                           "cmd1=\"C:\\Program Files\\Kelvane\\kelvane.exe\"", "param1=tools.bar",
                           "iconic2=0", "cmd2=-2", "button2=tools.barx1", "param3=net.bar",
                           "cmd3=kelvane.exe", "button3=kelvane.exe,2", "param4=tools.bar",
                           "cmd4=kelvane.exe", "button4=KELVANE.EXE,2", "button5=net.barx1",
                           "cmd5=-2", "iconic5=0", "cmd6=net.exe"})));
  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines(main_bar)));
  EXPECT_TRUE(FileHolds(L"Bar\\tools.bar", CrLfLines(tools)));
  EXPECT_TRUE(
      FileHolds(L"Bar\\net.bar", CrLfLines({"[Buttonbar]", "Buttoncount=1", "cmd1=net.exe"})));
}

// The folder's path on Wine's drive Z:, the Unix root ("Z:\\tmp\\...\\"); the
// path as it is where the program runs on Windows itself.
std::wstring OnDriveZ(const std::wstring& folder) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto to_unix = app::SystemFunction<ToUnix>(L"kernel32.dll", "wine_get_unix_file_name");
  char* unix_path = to_unix != nullptr ? to_unix(folder.c_str()) : nullptr;
  if (unix_path == nullptr) return folder;
  std::wstring path = L"Z:";
  for (const char* c = unix_path; *c != '\0'; ++c) path += *c == '/' ? L'\\' : wchar_t(*c);
  HeapFree(GetProcessHeap(), 0, unix_path);
  if (path.back() != L'\\') path += L'\\';
  return path;
}

// Settings that name their bars by full paths use them as they stand: the
// bars lie in another folder, not behind the program folder. Pasted paths
// may be written with "/".
TEST_F(ToggleTest, FullPathsInBothSettingsAreUsedAsTheyStand) {
  const ProgramFolder elsewhere;
  for (const wchar_t separator : {L'\\', L'/'}) {
    SCOPED_TRACE(Utf8(std::wstring(1, separator)));
    std::wstring bars = OnDriveZ(elsewhere.dir()) + L"Bars";
    ASSERT_EQ(bars.rfind(L"Z:\\", 0), 0u) << Utf8(bars);
    std::replace(bars.begin(), bars.end(), L'\\', separator);
    elsewhere.Write(L"Bars\\main.bar", CrLfLines(kOwnEntries));
    elsewhere.Write(L"Bars\\tools.bar", CrLfLines(kToolsSubBar));
    folder_.WriteSettings(bars, bars + separator + L"main.bar");

    ASSERT_TRUE(Toggle(L"tools.bar"));
    EXPECT_EQ(elsewhere.Read(L"Bars\\main.bar"), CrLfLines(kToolsExpanded));
    ASSERT_TRUE(Toggle(L"tools.bar"));
    EXPECT_EQ(elsewhere.Read(L"Bars\\tools.bar"), CrLfLines(kToolsCollapsed));
    EXPECT_EQ(elsewhere.Read(L"Bars\\main.bar"), CrLfLines(kOwnEntriesCollapsed));

    // A full path as the argument names the sub-bar wherever it is; the
    // marker keeps the argument as written.
    const std::wstring other = bars + separator + L"Other" + separator + L"tools.bar";
    elsewhere.Write(L"Bars\\main.bar", CrLfLines(kOwnEntries));
    elsewhere.Write(L"Bars\\Other\\tools.bar", CrLfLines(kToolsSubBar));
    ASSERT_TRUE(Toggle(L"\"" + other + L"\""));
    Lines expanded = kToolsExpanded;
    expanded[8] = "button3=" + Utf8(other) + "x1";
    EXPECT_EQ(elsewhere.Read(L"Bars\\main.bar"), CrLfLines(expanded));
    ASSERT_TRUE(Toggle(L"\"" + other + L"\""));
    EXPECT_EQ(elsewhere.Read(L"Bars\\Other\\tools.bar"), CrLfLines(kToolsCollapsed));
  }
}

// With no kelvane.ini and no Bar folder beside the program, a toggle
// started by the file manager edits the bar it shows: the one its
// wincmd.ini (UTF-16, as it may write it) names, its variables expanded,
// and the sub-bar beside it.
TEST_F(ToggleTest, WithoutSettingsTheFileManagersMainBarIsEdited) {
  const ProgramFolder file_manager;
  file_manager.Write(
      L"wincmd.ini",
      Utf16LeWithBom(CrLfLines({"[Buttonbar]", "Buttonbar=%COMMANDER_PATH%\\DEFAULT.BAR"})));
  file_manager.Write(L"DEFAULT.BAR", CrLfLines(kOwnEntries));
  file_manager.Write(L"tools.bar", CrLfLines(kToolsSubBar));
  const std::wstring& folder = file_manager.dir();
  const ScopedVariable path(L"COMMANDER_PATH", folder.substr(0, folder.size() - 1));
  const ScopedVariable ini(L"COMMANDER_INI", file_manager.Path(L"wincmd.ini"));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_EQ(file_manager.Read(L"DEFAULT.BAR"), CrLfLines(kToolsExpanded));
  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_EQ(file_manager.Read(L"tools.bar"), CrLfLines(kToolsCollapsed));
  EXPECT_EQ(file_manager.Read(L"DEFAULT.BAR"), CrLfLines(kOwnEntriesCollapsed));
  EXPECT_FALSE(folder_.Read(L"kelvane.ini"));
}

// The vertical bar is only looked into for the marker: bytes no save could
// give back (broken UTF-8 behind its mark) do not stop the main bar's toggle.
TEST_F(ToggleTest, VerticalBarThatDoesNotDecodeLetsTheMainBarToggle) {
  folder_.WriteSettings(L"Bar", kDefaultMainBar, L"Bar\\vertical.bar");
  folder_.Write(L"Bar\\vertical.bar", Utf8WithBom(CrLfLines(kOwnEntries)) + "\xFF");
  folder_.Write(kDefaultMainBar, CrLfLines(kOwnEntries));
  folder_.Write(L"Bar\\tools.bar", CrLfLines(kToolsSubBar));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, CrLfLines(kToolsExpanded)));
}

// Bars kept in a synced folder and linked into place: the toggles edit the
// file the link points to, so the link still shows it. Wine makes no link
// itself; ctest's fixture e2e_linked_bar makes one on the Linux side.
TEST_F(ToggleTest, LinkedMainBarIsSavedWhereTheLinkPoints) {
  const wchar_t* link = _wgetenv(L"KELVANE_E2E_LINKED_BAR");  // on drive Z:
  if (!link) GTEST_SKIP() << "run by ctest, whose fixture e2e_linked_bar makes the link";
  const std::wstring path = link;
  const std::wstring synced = path.substr(0, path.rfind(L'\\')) + L"\\synced\\main.bar";
  std::ofstream(std::filesystem::path(synced), std::ios::binary) << CrLfLines(kOwnEntries);
  folder_.WriteSettings(L"Bar", path);
  folder_.Write(L"Bar\\tools.bar", CrLfLines(kToolsSubBar));

  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_EQ(ReadFileBytes(synced), CrLfLines(kToolsExpanded));
  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_EQ(ReadFileBytes(synced), CrLfLines(kOwnEntriesCollapsed));
}

// A bar's lines in order, the empty ones left out: what whole toggles
// leave, whichever order they put each entry's lines in.
Lines SortedLines(const std::optional<std::string>& bytes) {
  Lines lines;
  for (std::string& line : SplitLines(bytes.value_or(""))) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// A double click starts two runs at once, two double clicks four, and
// their reads and saves meet. On a busy machine, round after round, all end
// by themselves without an error report, and the bars hold what whole toggles give: the sub-bar
// expanded or not, and the sub-bar file as it was.
TEST_F(ToggleTest, TwoRunsStartedTogetherEndAsWholeToggles) {
  folder_.Write(kDefaultMainBar, CrLfLines(kOwnEntries));
  folder_.Write(L"Bar\\tools.bar", CrLfLines(kToolsSubBar));
  std::atomic<bool> busy{true};
  std::vector<std::thread> load;
  for (int k = 0; k < 2; ++k) {
    load.emplace_back([&busy] {
      while (busy) {
      }
    });
  }
  for (int round = 0; round < 8 && !HasFailure(); ++round) {
    SCOPED_TRACE(round);
    std::vector<std::unique_ptr<KelvaneProcess>> runs;  // two, or four in the odd rounds
    for (int k = 0; k < 2 + 2 * (round % 2); ++k) {
      runs.push_back(std::make_unique<KelvaneProcess>(folder_.exe(), L"tools.bar"));
    }
    for (const auto& run : runs) {
      if (run->WaitForExit()) continue;
      const auto box = FindMessageBox(run->id());
      ADD_FAILURE() << "a run has not ended" << (box ? "; it shows " + Describe(*box) : "");
    }
    const Lines main_bar = SortedLines(folder_.Read(kDefaultMainBar));
    EXPECT_TRUE(main_bar == Sorted(kOwnEntries) || main_bar == Sorted(kToolsExpanded))
        << "the main bar holds what no whole toggle gives";
    EXPECT_EQ(SortedLines(folder_.Read(L"Bar\\tools.bar")), Sorted(kToolsSubBar));
  }
  busy = false;
  for (std::thread& thread : load) thread.join();
}

}  // namespace
}  // namespace e2e
