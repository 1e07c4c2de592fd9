// TForm1: the program's one window. In a run without an argument it is the
// settings window; in every run it owns the main-bar and sub-bar lists and
// the two edit fields whose texts are the bar folder and the main bar file.
// All decisions of a run are taken in FormCreate, before the platform window
// exists; a toggle that succeeds ends the program without ever creating it.
#ifndef KELVANE_APP_FORM1_WIN_H_
#define KELVANE_APP_FORM1_WIN_H_

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "app/base_window_win.h"
#include "app/control_ids.h"
#include "app/dpi_win.h"
#include "app/edit_field_win.h"
#include "app/icon_ids.h"
#include "bar/line_list.h"

namespace app {

class TForm1 : public BaseWindow<TForm1> {
 public:
  static const wchar_t* ClassName() { return kForm1ClassName; }
  static int IconId() { return KELVANE_PROGRAM_ICON; }

  // Reads the settings into Edit3, Edit4 and Edit5, a missing key filled in
  // by ResolvePathSettings. Without a sub-bar's name: sets the maximized
  // state and returns. With one: runs the toggle of the sub-bar named par,
  // in the vertical bar with "/vertical", on ListBox1 and ListBox2 in this
  // run's turn (RunToggleInTurn), then requests the quit; an empty bar does
  // nothing more. Needs no platform window. Catches nothing.
  void FormCreate();

  // True once a toggle has gone through: the program is to end now.
  bool quit_requested() const { return quit_requested_; }

  // For a run that shows the window, after FormCreate: creates the platform
  // window, hidden, with its controls laid out for its monitor's DPI,
  // centred on the primary monitor's work area, and with the texts of Edit3
  // and Edit4 in their fields. Needs the common controls initialised.
  // Throws bar::Error when the system refuses.
  void CreateForm();

  // Shows the created window: at normal size and activated in a run without
  // an argument; otherwise (empty main bar, failed toggle) as a minimized
  // task-bar entry that does not take the activation.
  void ShowAfterCreation();

  // "Find" of the bar folder: Edit3 := the chosen folder relative to the
  // program folder (ExtractRelativeFolder).
  void Button1Click();
  // "Find" of the main bar: Edit4 := the chosen file relative to the
  // program folder.
  void Button2Click();
  // "Find" of the vertical bar: Edit5, as Button2Click does Edit4.
  void Button4Click();
  // "OK": writes pathBar, pathMainPanel and pathVerticalPanel, then closes
  // the window.
  void Button3Click();

  // Both leave the window visible at its normal size and place.
  void FormActivate();
  void FormDeactivate();

  bar::LineList ListBox1;  // the main bar
  bar::LineList ListBox2;  // the sub-bar
  HWND Button3 = nullptr;
  HWND Label3 = nullptr;
  EditField Edit3;  // the bar folder, setting pathBar
  HWND Label4 = nullptr;
  EditField Edit4;  // the main bar file, setting pathMainPanel
  HWND Label5 = nullptr;
  EditField Edit5;  // the vertical bar file, setting pathVerticalPanel
  HWND Label1 = nullptr;
  HWND Button1 = nullptr;
  HWND Button2 = nullptr;
  HWND Button4 = nullptr;

 private:
  friend class BaseWindow<TForm1>;

  enum class WindowState { kNormal, kMinimized, kMaximized };

  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int notification);
  void OnActivate(bool active);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnClose();

  // A bar file's "Find": the chosen file relative to the program folder.
  void ChooseBarFileInto(EditField& field);

  void CreateControls();
  void LayOut(UINT dpi);
  void SetClientSize(int width, int height);
  void CenterOnPrimaryWorkArea();

  void KeepNormalAndVisible();
  void UpdateWindowState();
  void SetWindowState(WindowState state);
  void RequestQuit();
  void Close();

  WindowState window_state_ = WindowState::kMinimized;
  bool quit_requested_ = false;
  bool closing_ = false;
  bool keeping_normal_ = false;
  HWND focused_control_ = nullptr;
  UINT dpi_ = kDesignDpi;
  FontHandle font_;
};

// The one window object, set before FormCreate runs and until the end.
extern TForm1* Form1;

// The first command-line argument: the sub-bar's file name, or "".
extern std::u16string par;

}  // namespace app

#endif  // KELVANE_APP_FORM1_WIN_H_
