// The settings window, driven as a user drives it: its layout at 96 DPI and
// above, the two "Find" buttons with the system's file dialog, and OK
// writing kelvane.ini.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/build_paths.h"
#include "tests/e2e/file_manager_stand_in.h"
#include "tests/e2e/kelvane_process.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/message_box.h"
#include "tests/e2e/window_probe.h"

namespace e2e {
namespace {

struct ControlLayout {
  const char* name;
  const wchar_t* kind;
  int left, top, width, height;
  bool visible;
  const char* text;  // nullptr: a list box, whose text means nothing
};

// In the order of the window description, which is the creation order. The
// fields show the defaults, as no kelvane.ini is there.
const ControlLayout kLayout[] = {
    {"Label3", L"Static", 8, 3, 97, 26, true, "Путь Bar-папки\r/Path To Bar Folder/"},
    {"Label4", L"Static", 8, 38, 89, 26, true, "Путь осн.панели\r/Path To Main Bar/"},
    {"Label5", L"Static", 8, 73, 97, 26, true, "Путь верт.панели\r/Path To Vert. Bar/"},
    {"Label1", L"Static", 182, 116, 99, 26, true, "Сохранить и выйти\r/Save And Close/"},
    {"ListBox1", L"ListBox", 8, 110, 33, 22, false, nullptr},
    {"ListBox2", L"ListBox", 47, 110, 35, 22, false, nullptr},
    {"Button3", L"Button", 287, 117, 75, 25, true, "OK"},
    {"Edit3", L"Edit", 111, 8, 170, 21, true, "Bar"},
    {"Edit4", L"Edit", 111, 43, 170, 21, true, "Bar\\000_Osnovnaja.bar"},
    {"Edit5", L"Edit", 111, 78, 170, 21, true, ""},
    {"Button1", L"Button", 287, 8, 75, 25, true, "Find"},
    {"Button2", L"Button", 287, 39, 75, 25, true, "Find"},
    {"Button4", L"Button", 287, 74, 75, 25, true, "Find"},
};

// The description's pixels are at 96 dots per inch.
int Scaled(int pixels) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(pixels, dpi, 96);
}

std::string DescribeChildren(HWND window) {
  std::string text;
  for (HWND child : Children(window)) {
    const RECT r = RectInParent(child);
    text += "\n  " + Utf8(ClassName(child)) + " at " + std::to_string(r.left) + "," +
            std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
            std::to_string(r.bottom - r.top) + " \"" + Utf8(WindowText(child)) + "\"";
  }
  return text;
}

HWND FindControl(HWND window, const ControlLayout& layout) {
  const RECT expected{Scaled(layout.left), Scaled(layout.top),
                      Scaled(layout.left) + Scaled(layout.width),
                      Scaled(layout.top) + Scaled(layout.height)};
  for (HWND child : Children(window)) {
    const RECT r = RectInParent(child);
    if (ClassName(child) == layout.kind && EqualRect(&r, &expected)) return child;
  }
  return nullptr;
}

HWND Control(HWND window, const char* name) {
  for (const ControlLayout& layout : kLayout) {
    if (std::string(layout.name) == name) return FindControl(window, layout);
  }
  return nullptr;
}

// Whether the window's title bar shows the program's icon at `size` pixels,
// each of its opaque pixels as kelvane.exe holds it.
bool CaptionShowsProgramIcon(HWND window, int size) {
  HMODULE module = LoadLibraryExW(KelvaneExe().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HICON icon =
      static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
  if (!icon) return false;
  // Drawn on black and on white: where the two agree, the icon is opaque.
  auto drawn_on = [&](int brush) {
    return DrawnPixels(size, size, [&](HDC dc) {
      const RECT all{0, 0, size, size};
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(brush)));
      DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
  };
  const std::vector<DWORD> on_black = drawn_on(BLACK_BRUSH), on_white = drawn_on(WHITE_BRUSH);
  DestroyIcon(icon);
  FreeLibrary(module);
  RECT bar{};
  GetWindowRect(window, &bar);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  bar.bottom = client.y;
  const std::vector<DWORD> screen = ScreenPixels(bar);
  const int width = bar.right - bar.left;
  for (int top = 0; top + size <= bar.bottom - bar.top; ++top) {
    for (int left = 0; left + size <= width; ++left) {
      bool same = true;
      for (int i = 0; same && i < size * size; ++i) {
        same = on_black[i] != on_white[i] ||
               screen[(top + i / size) * width + left + i % size] == on_black[i];
      }
      if (same) return true;
    }
  }
  return false;
}

// A file dialog of the process: a dialog that is not a message box.
HWND FindFileDialog(DWORD process_id) {
  for (HWND window : TopLevelWindows(process_id)) {
    if (IsWindowVisible(window) && ClassName(window) == L"#32770" && !GetDlgItem(window, 0xFFFF)) {
      return window;
    }
  }
  return nullptr;
}

// Where the user types a name: an Edit under Wine, an Edit inside a
// ComboBoxEx under Windows.
HWND FileNameField(HWND dialog) {
  constexpr int kWineFileNameEdit = 1152, kWindowsFileNameCombo = 1148;
  if (HWND edit = GetDlgItem(dialog, kWineFileNameEdit); edit && ClassName(edit) == L"Edit") {
    return edit;
  }
  for (HWND inside : Descendants(GetDlgItem(dialog, kWindowsFileNameCombo))) {
    if (ClassName(inside) == L"Edit") return inside;
  }
  return nullptr;
}

class SettingsWindowTest : public KelvaneTest {
 protected:
  // Starts the program with `arguments` and waits for its window at its
  // normal size, as the first activation leaves it.
  HWND Open(const std::wstring& arguments = L"") {
    run_.emplace(folder_.exe(), arguments);
    return PollFor(
        [&]() -> HWND {
          HWND window = FindTopLevel(run_->id(), L"", kWindowCaption);
          return window && !IsIconic(window) && !IsZoomed(window) ? window : nullptr;
        },
        kStartTimeoutMs);
  }

  // Clicks a "Find" button and waits for the file dialog.
  HWND OpenFileDialog(HWND button) {
    Click(button);
    return PollFor([&] { return FindFileDialog(run_->id()); }, kStartTimeoutMs);
  }

  bool CloseWindowAndWaitForExit(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return run_->WaitForExit();
  }

  std::optional<KelvaneProcess> run_;
};

TEST_F(SettingsWindowTest, LayoutFollowsTheWindowDescription) {
  FileManagerStandIn file_manager;
  HWND window = Open();
  ASSERT_TRUE(window) << "no settings window \"" << Utf8(kWindowCaption) << "\" at normal size";

  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, Scaled(369));
  EXPECT_EQ(client.cy, Scaled(150));
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) << "the user could resize it";
  RECT frame{};
  GetWindowRect(window, &frame);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(frame.left, (screen_width - (frame.right - frame.left)) / 2, 1) << "not centred";
  EXPECT_NEAR(frame.top, (screen_height - (frame.bottom - frame.top)) / 2, 1) << "not centred";

  for (const ControlLayout& layout : kLayout) {
    SCOPED_TRACE(layout.name);
    HWND control = FindControl(window, layout);
    ASSERT_TRUE(control) << "no " << Utf8(layout.kind)
                         << " at its place; the window holds:" << DescribeChildren(window);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, layout.visible);
    if (layout.text) {
      EXPECT_EQ(Utf8(WindowText(control)), layout.text);
    }
  }
  for (const char* list : {"ListBox1", "ListBox2"}) {
    HWND control = Control(window, list);
    EXPECT_EQ(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0), Scaled(13)) << list;
    EXPECT_FALSE(GetWindowLongW(control, GWL_STYLE) & LBS_SORT) << list << " sorts its lines";
  }

  // Tab order is z-order: ListBox1, ListBox2, Button3, the three fields, the
  // three "Find" buttons; the labels take no part.
  const std::vector<HWND> z_order = Children(window);
  auto place = [&](const char* name) {
    return std::find(z_order.begin(), z_order.end(), Control(window, name)) - z_order.begin();
  };
  const char* tab_order[] = {"ListBox1", "ListBox2", "Button3", "Edit3",  "Edit4",
                             "Edit5",    "Button1",  "Button2", "Button4"};
  for (size_t i = 1; i < std::size(tab_order); ++i) {
    EXPECT_LT(place(tab_order[i - 1]), place(tab_order[i]))
        << tab_order[i - 1] << " " << tab_order[i];
  }
  for (const char* name : {"Button3", "Edit3", "Edit4", "Edit5", "Button1", "Button2", "Button4"}) {
    EXPECT_TRUE(GetWindowLongW(Control(window, name), GWL_STYLE) & WS_TABSTOP) << name;
  }

  EXPECT_TRUE(PollFor([&] { return CaptionShowsProgramIcon(window, 16); }, kExitTimeoutMs));

  EXPECT_TRUE(CloseWindowAndWaitForExit(window));
  EXPECT_FALSE(folder_.Read(L"kelvane.ini")) << "closing must not write the settings";
  EXPECT_EQ(file_manager.UserMessages().size(), 0u) << Describe(file_manager.UserMessages());
}

// The window has no maximize box, but the system or the user can maximize
// it all the same; the next activation brings it back to its normal size.
TEST_F(SettingsWindowTest, ActivationBringsAMaximizedWindowBack) {
  HWND window = Open();
  ASSERT_TRUE(window);
  ShowWindow(window, SW_MAXIMIZE);
  ASSERT_TRUE(PollFor([&] { return IsZoomed(window); }, kExitTimeoutMs)) << "not maximized";
  PostMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
  // The state changes before the new size arrives: wait for both.
  EXPECT_TRUE(PollFor(
      [&] {
        return !IsZoomed(window) && !IsIconic(window) && ClientSize(window).cx == Scaled(369);
      },
      kExitTimeoutMs))
      << "not back at its normal size after the activation: " << ClientSize(window).cx;
  EXPECT_TRUE(CloseWindowAndWaitForExit(window));
}

// A folder where kelvane.ini goes refuses the first write. The report names
// the file; once it is dismissed the window is still there with its texts,
// and nothing is written, though the folder has gone meanwhile.
TEST_F(SettingsWindowTest, RefusedWriteIsReportedAndTheWindowStays) {
  ASSERT_TRUE(CreateDirectoryW(folder_.Path(L"kelvane.ini").c_str(), nullptr));
  HWND window = Open();
  ASSERT_TRUE(window);
  HWND edit3 = Control(window, "Edit3");
  HWND edit4 = Control(window, "Edit4");
  ASSERT_TRUE(edit3 && edit4) << DescribeChildren(window);
  SetText(edit3, L"New Bars");
  SetText(edit4, L"New Bars\\main.bar");
  Click(Control(window, "Button3"));

  const auto box = WaitForMessageBox(run_->id(), kStartTimeoutMs);
  ASSERT_TRUE(box) << "no error report";
  EXPECT_EQ(Utf8(box->text), "Unable to write to " + Utf8(folder_.Path(L"kelvane.ini")) + ".");
  RemoveDirectoryW(folder_.Path(L"kelvane.ini").c_str());
  ASSERT_TRUE(DismissWithOk(*box, kExitTimeoutMs));
  ASSERT_TRUE(WaitUntilIdle(window, kExitTimeoutMs));
  EXPECT_FALSE(run_->WaitForExit(300)) << "the program ended";
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(Utf8(WindowText(edit3)), "New Bars");
  EXPECT_EQ(Utf8(WindowText(edit4)), "New Bars\\main.bar");
  EXPECT_FALSE(folder_.Read(L"kelvane.ini")) << "pathMainPanel was written after pathBar failed";
  EXPECT_TRUE(CloseWindowAndWaitForExit(window));
}

TEST_F(SettingsWindowTest, OkSavesEveryFieldAndEnds) {
  folder_.WriteSettings(L"Old Bars", L"Old Bars\\old.bar", L"Old Bars\\vertical.bar");
  HWND window = Open();
  ASSERT_TRUE(window);
  HWND edit3 = Control(window, "Edit3");
  HWND edit4 = Control(window, "Edit4");
  HWND edit5 = Control(window, "Edit5");
  ASSERT_TRUE(edit3 && edit4 && edit5) << DescribeChildren(window);
  EXPECT_EQ(Utf8(WindowText(edit3)), "Old Bars");
  EXPECT_EQ(Utf8(WindowText(edit4)), "Old Bars\\old.bar");
  EXPECT_EQ(Utf8(WindowText(edit5)), "Old Bars\\vertical.bar");

  SetText(edit3, L"New Bars");
  SetText(edit4, L"New Bars\\main bar.bar");
  SetText(edit5, L"C:/Bars/vertical.bar");
  Click(Control(window, "Button3"));

  ASSERT_TRUE(run_->WaitForExit()) << "OK did not end the program";
  const std::string ini = folder_.Read(L"kelvane.ini").value_or("");
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(DecodedText(ini, code_page()))) {
    if (!line.empty()) lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"[Main]", "pathBar=New Bars",
                                             "pathMainPanel=New Bars\\main bar.bar",
                                             "pathVerticalPanel=C:/Bars/vertical.bar"}));
}

struct FindCase {
  const char* name;
  const char* button;
  const char* field;
  const wchar_t* chosen;  // below the program folder
  const char* shown;
};

// Names the case in failure messages.
void PrintTo(const FindCase& test_case, std::ostream* os) { *os << test_case.name; }

class FindButtonTest : public SettingsWindowTest, public testing::WithParamInterface<FindCase> {};

TEST_P(FindButtonTest, ChoiceFillsTheFieldAndCancelKeepsIt) {
  const FindCase& find = GetParam();
  folder_.Write(L"Chosen Bars\\x.bar", "[Buttonbar]\r\nButtoncount=0\r\n");
  HWND window = Open();
  ASSERT_TRUE(window);
  HWND button = Control(window, find.button);
  HWND field = Control(window, find.field);
  ASSERT_TRUE(button && field) << DescribeChildren(window);

  HWND dialog = OpenFileDialog(button);
  ASSERT_TRUE(dialog) << "no file dialog";
  HWND name = FileNameField(dialog);
  ASSERT_TRUE(name) << "no file-name field in the dialog";
  SetText(name, folder_.Path(find.chosen));
  Click(GetDlgItem(dialog, IDOK));
  ASSERT_TRUE(PollFor([&] { return !IsWindow(dialog); }, kExitTimeoutMs)) << "dialog stays open";
  EXPECT_TRUE(PollFor([&] { return Utf8(WindowText(field)) == find.shown; }, kExitTimeoutMs))
      << "the field shows \"" << Utf8(WindowText(field)) << "\"";

  const std::wstring before = WindowText(field);
  dialog = OpenFileDialog(button);
  ASSERT_TRUE(dialog) << "no file dialog the second time";
  Click(GetDlgItem(dialog, IDCANCEL));
  ASSERT_TRUE(PollFor([&] { return !IsWindow(dialog); }, kExitTimeoutMs));
  ASSERT_TRUE(WaitUntilIdle(window, kExitTimeoutMs));
  Sleep(200);
  EXPECT_EQ(WindowText(field), before);
  const auto box = FindMessageBox(run_->id());
  EXPECT_FALSE(box) << "cancelling shows " << Describe(*box);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(CloseWindowAndWaitForExit(window));
}

INSTANTIATE_TEST_SUITE_P(Buttons, FindButtonTest,
                         testing::Values(FindCase{"BarFolder", "Button1", "Edit3", L"Chosen Bars",
                                                  "Chosen Bars"},
                                         FindCase{"MainBar", "Button2", "Edit4",
                                                  L"Chosen Bars\\x.bar", "Chosen Bars\\x.bar"},
                                         // A main bar the user means to start.
                                         FindCase{"MainBarNotThereYet", "Button2", "Edit4",
                                                  L"Chosen Bars\\new.bar", "Chosen Bars\\new.bar"},
                                         FindCase{"VerticalBar", "Button4", "Edit5",
                                                  L"Chosen Bars\\x.bar", "Chosen Bars\\x.bar"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The control of that name at any scale: the children come in the order of
// kLayout.
HWND ControlAtAnyScale(HWND window, const char* name) {
  const std::vector<HWND> children = Children(window);
  for (size_t i = 0; i < std::size(kLayout) && i < children.size(); ++i) {
    if (std::string(kLayout[i].name) == name && ClassName(children[i]) == kLayout[i].kind) {
      return children[i];
    }
  }
  return nullptr;
}

// The extent of a text in the program's font at `dpi`: Tahoma, 11 pixels
// high at 96 DPI.
SIZE TextExtent(const std::wstring& text, int dpi) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(11, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  HGDIOBJ old_font = SelectObject(dc, font);
  RECT extent{};
  DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old_font);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return {extent.right, extent.bottom};
}

// Wine takes the display's scale from the prefix when a program starts:
// LogPixels under HKCU\Control Panel\Desktop.
void SetLogPixels(DWORD dpi) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                  nullptr, &key, nullptr);
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(key);
}

// Runs in a Wine prefix of its own (ctest entry e2e_dpi), which keeps the
// last scale set: no other test starts the program there.
class ScaledSettingsWindowTest : public SettingsWindowTest,
                                 public testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (!std::getenv("KELVANE_E2E_DPI_RUNNER")) {
      GTEST_SKIP() << "changes the prefix's scale: run by the ctest entry e2e_dpi";
    }
    SetProcessDPIAware();  // the program's pixels, unscaled
    SetLogPixels(GetParam());
  }
};

TEST_P(ScaledSettingsWindowTest, EveryLabelClearsTheControlToItsRight) {
  const int dpi = GetParam();
  HWND window = Open();
  ASSERT_TRUE(window) << "no settings window at normal size";
  ASSERT_EQ(ClientSize(window).cx, MulDiv(369, dpi, 96)) << "the program is not at " << dpi;
  const std::pair<const char*, const char*> kLabelsAndNeighbours[] = {
      {"Label3", "Edit3"}, {"Label4", "Edit4"}, {"Label5", "Edit5"}, {"Label1", "Button3"}};
  for (const auto& [label_name, neighbour_name] : kLabelsAndNeighbours) {
    SCOPED_TRACE(label_name);
    HWND label = ControlAtAnyScale(window, label_name);
    HWND neighbour = ControlAtAnyScale(window, neighbour_name);
    ASSERT_TRUE(label && neighbour) << DescribeChildren(window);
    const SIZE text = TextExtent(WindowText(label), dpi);
    const RECT place = RectInParent(label);
    const RECT next = RectInParent(neighbour);
    EXPECT_LE(text.cx, place.right - place.left) << "the text is clipped";
    EXPECT_LE(text.cy, place.bottom - place.top) << "the text is clipped";
    EXPECT_LE(place.right, next.left) << "the label runs under " << neighbour_name;
    EXPECT_LE(place.left + text.cx + 2, next.left) << "the text touches " << neighbour_name;
  }
  // The small icon's size at this scale (this process is still at the old one).
  const int icon = MulDiv(16, dpi, 96);
  EXPECT_TRUE(PollFor([&] { return CaptionShowsProgramIcon(window, icon); }, kExitTimeoutMs));
  EXPECT_TRUE(CloseWindowAndWaitForExit(window));
}

INSTANTIATE_TEST_SUITE_P(Dpi, ScaledSettingsWindowTest, testing::Values(120, 144, 192),
                         [](const auto& info) { return std::to_string(info.param); });

TEST_F(SettingsWindowTest, EmptyQuotedArgumentOpensTheWindowWithoutReadingBars) {
  // No main bar at all: reading it would end in an error report.
  FileManagerStandIn file_manager;
  HWND window = Open(L"\"\"");
  ASSERT_TRUE(window) << "no settings window at normal size";
  ASSERT_TRUE(WaitUntilIdle(window, kStartTimeoutMs));
  const auto box = FindMessageBox(run_->id());
  EXPECT_FALSE(box) << Describe(*box);
  EXPECT_TRUE(CloseWindowAndWaitForExit(window));
  EXPECT_EQ(file_manager.UserMessages().size(), 0u) << Describe(file_manager.UserMessages());
}

}  // namespace
}  // namespace e2e
