#include "app/form1_win.h"

#include <shobjidl.h>

#include <algorithm>
#include <array>
#include <iterator>

#include "app/control_text_win.h"
#include "app/file_dialog_win.h"
#include "app/notify_win.h"
#include "app/paths.h"
#include "app/process_win.h"
#include "app/settings_win.h"
#include "app/toggle_turn_win.h"
#include "app/version.h"
#include "bar/command_line.h"
#include "bar/errors.h"
#include "bar/system_error_win.h"
#include "bar/toggle.h"

namespace app {

TForm1* Form1 = nullptr;
std::u16string par;

namespace {

constexpr wchar_t kCaption[] = KELVANE_WINDOW_CAPTION;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kClientWidth = 369;
constexpr int kClientHeight = 150;
constexpr int kFontHeight = 11;
constexpr int kListItemHeight = 13;

// A label's two lines are joined by a lone CR, which the static control
// breaks at like any line end. No word wrap (the widths fit the lines
// exactly) and no "&" prefixes.
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
// The two lists are never shown; they stand where the layout has them.
constexpr DWORD kListStyle = WS_CHILD | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;

struct ControlLayout {
  HWND TForm1::*handle;  // nullptr for the lists and the edit fields
  int id;
  const wchar_t* window_class;
  const wchar_t* text;
  DWORD style;
  DWORD ex_style;
  int left, top, width, height;  // at 96 DPI, in the client area
};

// In creation order, which is also the tab order. Each bar has a row: its
// label, its field and its "Find"; "Save and close" and OK come last.
const ControlLayout kControls[] = {
    {&TForm1::Label3, kLabel3Id, L"Static", L"Путь Bar-папки\r/Path To Bar Folder/", kLabelStyle, 0,
     8, 3, 97, 26},
    {&TForm1::Label4, kLabel4Id, L"Static", L"Путь осн.панели\r/Path To Main Bar/", kLabelStyle, 0,
     8, 38, 89, 26},
    {&TForm1::Label5, kLabel5Id, L"Static", L"Путь верт.панели\r/Path To Vert. Bar/", kLabelStyle,
     0, 8, 73, 97, 26},
    {&TForm1::Label1, kLabel1Id, L"Static", L"Сохранить и выйти\r/Save And Close/", kLabelStyle, 0,
     182, 116, 99, 26},
    {nullptr, kListBox1Id, L"ListBox", L"", kListStyle, WS_EX_CLIENTEDGE, 8, 110, 33, 22},
    {nullptr, kListBox2Id, L"ListBox", L"", kListStyle, WS_EX_CLIENTEDGE, 47, 110, 35, 22},
    {&TForm1::Button3, kButton3Id, L"Button", L"OK", kButtonStyle, 0, 287, 117, 75, 25},
    {nullptr, kEdit3Id, L"Edit", L"", kEditStyle, WS_EX_CLIENTEDGE, 111, 8, 170, 21},
    {nullptr, kEdit4Id, L"Edit", L"", kEditStyle, WS_EX_CLIENTEDGE, 111, 43, 170, 21},
    {nullptr, kEdit5Id, L"Edit", L"", kEditStyle, WS_EX_CLIENTEDGE, 111, 78, 170, 21},
    {&TForm1::Button1, kButton1Id, L"Button", L"Find", kButtonStyle, 0, 287, 8, 75, 25},
    {&TForm1::Button2, kButton2Id, L"Button", L"Find", kButtonStyle, 0, 287, 39, 75, 25},
    {&TForm1::Button4, kButton4Id, L"Button", L"Find", kButtonStyle, 0, 287, 74, 75, 25},
};

HFONT CreateFormFont(UINT dpi) {
  return CreateFontW(-ScaleToDpi(kFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

// The room the 96-DPI layout leaves between a label and the control to its
// right (Label3 and Edit3, Label1 and Button3).
constexpr int kLabelGap = 6;

// Where each row of kControls goes, in the client area.
using Places = std::array<RECT, std::size(kControls)>;

std::size_t RowOf(int id) {
  auto row = std::find_if(std::begin(kControls), std::end(kControls),
                          [id](const ControlLayout& item) { return item.id == id; });
  return static_cast<std::size_t>(row - std::begin(kControls));
}

Places ScaledPlaces(UINT dpi) {
  Places places;
  for (std::size_t row = 0; row < places.size(); ++row) {
    const ControlLayout& item = kControls[row];
    int left = ScaleToDpi(item.left, dpi);
    int top = ScaleToDpi(item.top, dpi);
    places[row] = {left, top, left + ScaleToDpi(item.width, dpi),
                   top + ScaleToDpi(item.height, dpi)};
  }
  return places;
}

// The label widths are those of their text at 96 DPI, where the layout is
// kept exact. A font scaled for another DPI is rounded to whole pixels and
// hinted anew, and may come out a tenth wider; the label then grows with it
// rather than clip its text.
void GrowToText(HWND label, HFONT font, RECT& place) {
  std::u16string text = ControlText(label);
  HDC dc = GetDC(label);
  if (dc == nullptr) return;
  HGDIOBJ old_font = SelectObject(dc, font);
  RECT needed = {0, 0, 0, 0};
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
            &needed, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old_font);
  ReleaseDC(label, dc);
  place.right = std::max(place.right, place.left + needed.right);
  place.bottom = std::max(place.bottom, place.top + needed.bottom);
}

// Grown labels keep the scaled gap to what stands to their right: the two
// fields give up width on their left and stay aligned with each other, and
// "Save and close", whose button column stays put, grows to its left.
void MakeRoomForLabels(HWND form, HFONT font, UINT dpi, Places& places) {
  for (int id : {kLabel3Id, kLabel4Id, kLabel5Id, kLabel1Id}) {
    GrowToText(GetDlgItem(form, id), font, places[RowOf(id)]);
  }
  int gap = ScaleToDpi(kLabelGap, dpi);
  int fields_left =
      std::max({places[RowOf(kEdit3Id)].left, places[RowOf(kLabel3Id)].right + gap,
                places[RowOf(kLabel4Id)].right + gap, places[RowOf(kLabel5Id)].right + gap});
  for (int id : {kEdit3Id, kEdit4Id, kEdit5Id}) places[RowOf(id)].left = fields_left;
  RECT& label1 = places[RowOf(kLabel1Id)];
  int label1_right = places[RowOf(kButton3Id)].left - gap;
  if (label1.right > label1_right) OffsetRect(&label1, label1_right - label1.right, 0);
}

[[noreturn]] void ThrowLastError() { throw bar::Error(bar::SystemErrorText(GetLastError())); }

// Owner of a file dialog: the program's active window.
HWND DialogOwner(HWND fallback) {
  HWND active = GetActiveWindow();
  return active != nullptr ? active : fallback;
}

}  // namespace

// ---- creation and layout ----

void TForm1::CreateForm() {
  if (!CreatePlatformWindow(kCaption, kFormStyle, 0, 0, 0, 0, 0)) ThrowLastError();
  CreateControls();
  dpi_ = DpiForWindow(Window());
  LayOut(dpi_);
  CenterOnPrimaryWorkArea();
}

void TForm1::CreateControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ControlLayout& item : kControls) {
    HWND control =
        CreateWindowExW(item.ex_style, item.window_class, item.text, item.style, 0, 0, 0, 0,
                        Window(), reinterpret_cast<HMENU>(INT_PTR{item.id}), instance, nullptr);
    if (control == nullptr) ThrowLastError();
    if (item.handle != nullptr) this->*item.handle = control;
  }
  Edit3.Attach(GetDlgItem(Window(), kEdit3Id));
  Edit4.Attach(GetDlgItem(Window(), kEdit4Id));
  Edit5.Attach(GetDlgItem(Window(), kEdit5Id));
}

void TForm1::LayOut(UINT dpi) {
  FontHandle font(CreateFormFont(dpi));
  Places places = ScaledPlaces(dpi);
  if (dpi != kDesignDpi) MakeRoomForLabels(Window(), font.get(), dpi, places);
  for (std::size_t row = 0; row < places.size(); ++row) {
    HWND control = GetDlgItem(Window(), kControls[row].id);
    const RECT& place = places[row];
    MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  for (int id : {kListBox1Id, kListBox2Id}) {
    SendDlgItemMessageW(Window(), id, LB_SETITEMHEIGHT, 0,
                        MAKELPARAM(ScaleToDpi(kListItemHeight, dpi), 0));
  }
  font_ = std::move(font);  // the old font goes only after no control uses it
  SetClientSize(ScaleToDpi(kClientWidth, dpi), ScaleToDpi(kClientHeight, dpi));
}

// The frame's size is measured rather than computed, so that it is right
// whichever DPI mode the system draws the frame in.
void TForm1::SetClientSize(int width, int height) {
  RECT window = {}, client = {};
  GetWindowRect(Window(), &window);
  GetClientRect(Window(), &client);
  int frame_width = (window.right - window.left) - (client.right - client.left);
  int frame_height = (window.bottom - window.top) - (client.bottom - client.top);
  SetWindowPos(Window(), nullptr, 0, 0, width + frame_width, height + frame_height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::CenterOnPrimaryWorkArea() {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  RECT window = {};
  GetWindowRect(Window(), &window);
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int left = work.left + ((work.right - work.left) - width) / 2;
  int top = work.top + ((work.bottom - work.top) - height) / 2;
  SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- start-up ----

void TForm1::FormCreate() {
  {
    IniFile iniFileLoad(SettingsFilePath(ProgramFolder()));
    PathSettings settings =
        ResolvePathSettings(ReadStoredSettings(iniFileLoad), SystemSurroundings());
    Edit3.SetText(settings.path_bar);
    Edit4.SetText(settings.path_main_panel);
    Edit5.SetText(settings.path_vertical_panel);
  }
  const bar::ToggleArguments arguments = bar::ReadToggleArguments(CommandLine());
  par = arguments.sub_bar;
  if (par.empty()) {
    window_state_ = WindowState::kMaximized;
    return;
  }
  bar::Toggle toggle{ListBox1,     ListBox2,     par,           ProgramFolder(),
                     Edit3.Text(), Edit4.Text(), &SendTCCommand};
  toggle.vertical_bar_path = Edit5.Text();
  toggle.vertical = arguments.vertical;
  toggle.environment = EnvironmentVariable;
  toggle.program_file_name = ExtractFileName(ExePath());
  if (RunToggleInTurn(toggle) != bar::ToggleAction::kNothing) RequestQuit();
}

// The run without an argument is in the maximized state here, which the
// first activation turns to normal; showing it at normal size straight
// away gives the same window without a maximized flash first.
void TForm1::ShowAfterCreation() {
  if (window_state_ == WindowState::kMaximized) {
    ShowWindow(Window(), SW_SHOWNORMAL);
    SetForegroundWindow(Window());
    return;
  }
  ShowWindow(Window(), SW_SHOWMINNOACTIVE);
}

// FormCreate runs before the window exists, so there is no event loop yet to
// ask: the program looks at the request once FormCreate is over.
void TForm1::RequestQuit() { quit_requested_ = true; }

void TForm1::Close() { SendMessageW(Window(), WM_CLOSE, 0, 0); }

// ---- the settings window's buttons ----

void TForm1::Button1Click() {
  std::u16string folder = ChooseWithFileOpenDialog(DialogOwner(Window()), FOS_PICKFOLDERS);
  Edit3.SetText(ExtractRelativeFolder(FindBase(ParamStr(0), LongPathName), folder));
}

void TForm1::Button2Click() { ChooseBarFileInto(Edit4); }

void TForm1::Button4Click() { ChooseBarFileInto(Edit5); }

void TForm1::ChooseBarFileInto(EditField& field) {
  std::u16string file = ChooseWithFileOpenDialog(DialogOwner(Window()), 0);
  field.SetText(ExtractRelativePath(FindBase(ParamStr(0), LongPathName), file));
}

void TForm1::Button3Click() {
  {
    IniFile iniFileSave(SettingsFilePath(ProgramFolder()));
    WritePathSettings(iniFileSave, PathSettings{Edit3.Text(), Edit4.Text(), Edit5.Text()});
  }
  Close();
}

// ---- window state ----

void TForm1::FormActivate() { KeepNormalAndVisible(); }

void TForm1::FormDeactivate() { KeepNormalAndVisible(); }

// Reads the real state before it sets the normal one, so that a window the
// user or the system minimized behind the program's back comes back too.
// Showing and restoring activate the window again, which lands here once
// more; that nested call has nothing left to do and is skipped.
void TForm1::KeepNormalAndVisible() {
  if (Window() == nullptr || closing_ || keeping_normal_) return;
  keeping_normal_ = true;
  UpdateWindowState();
  if (!IsWindowVisible(Window())) {
    ShowWindow(Window(), window_state_ == WindowState::kMinimized   ? SW_SHOWMINIMIZED
                         : window_state_ == WindowState::kMaximized ? SW_SHOWMAXIMIZED
                                                                    : SW_SHOWNORMAL);
  }
  UpdateWindowState();
  SetWindowState(WindowState::kNormal);
  UpdateWindowState();
  keeping_normal_ = false;
}

void TForm1::UpdateWindowState() {
  if (Window() == nullptr) return;
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(Window(), &placement)) return;
  window_state_ = placement.showCmd == SW_SHOWMINIMIZED   ? WindowState::kMinimized
                  : placement.showCmd == SW_SHOWMAXIMIZED ? WindowState::kMaximized
                                                          : WindowState::kNormal;
}

void TForm1::SetWindowState(WindowState state) {
  if (window_state_ == state) return;
  window_state_ = state;
  if (state == WindowState::kNormal && IsWindowVisible(Window())) {
    ShowWindow(Window(), SW_SHOWNORMAL);
  }
}

// ---- messages ----

LRESULT TForm1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(Window(), message, wparam, lparam);
  }
}

void TForm1::OnCommand(int id, int notification) {
  if (notification != BN_CLICKED) return;
  switch (id) {
    case kButton1Id:
      Button1Click();
      break;
    case kButton2Id:
      Button2Click();
      break;
    case kButton3Id:
      Button3Click();
      break;
    case kButton4Id:
      Button4Click();
      break;
    default:
      break;  // Enter and Escape arrive as IDOK and IDCANCEL; they do nothing here
  }
}

// Keyboard focus goes with the activation, as in a dialog: it returns to
// the control that had it, or to the first control in tab order.
void TForm1::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Window(), focus)) focused_control_ = focus;
    FormDeactivate();
    return;
  }
  FormActivate();
  HWND focus = focused_control_ != nullptr && IsWindow(focused_control_)
                   ? focused_control_
                   : GetNextDlgTabItem(Window(), nullptr, FALSE);
  if (focus != nullptr) SetFocus(focus);
}

void TForm1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetIconsForDpi(dpi_);
  SetWindowPos(Window(), nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(dpi_);
}

void TForm1::OnClose() {
  closing_ = true;
  DestroyWindow(Window());
}

}  // namespace app
