// The program entry: start-up, the event loop, the end.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/error_report_win.h"
#include "app/form1_win.h"
#include "app/process_win.h"
#include "app/system_function_win.h"

namespace {

// COM for the settings window: its file dialogs need a single-threaded
// apartment on the window thread.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

// Runs until the quit request. Tab, Enter and Escape work in the window as
// in a dialog. A failure in a handler has been reported by the window
// procedure already; anything the loop itself throws is reported here, and
// the loop goes on.
void RunEventLoop(HWND form) {
  for (;;) {
    try {
      MSG message;
      BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0 || got == -1) return;
      if (form != nullptr && IsWindow(form) && IsDialogMessageW(form, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } catch (...) {
      app::ReportCurrentException();
    }
  }
}

// The common controls, version 6 as the manifest asks. comctl32 is not
// imported but loaded here, for the window alone: under Wine merely loading
// it at start-up (it registers its window classes) cost a toggle run about
// as much as creating a window.
void InitCommonControlsForTheWindow() {
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = app::SystemFunction<InitFunction>(L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX common_controls = {sizeof common_controls, ICC_STANDARD_CLASSES};
  if (init != nullptr) init(&common_controls);
}

// The settings window, for the runs in which it is seen, until it closes.
// COM, the common controls and the window itself are set up only here.
void RunSettingsWindow(app::TForm1& form) {
  ComApartment com;
  InitCommonControlsForTheWindow();
  try {
    form.CreateForm();
  } catch (...) {
    app::ReportCurrentException();
    return;
  }
  form.ShowAfterCreation();
  RunEventLoop(form.Window());
}

}  // namespace

// A toggle decides, edits and notifies before any window exists. When it
// goes through, the program ends without creating one: under Wine the window
// and what it needs (comctl32, COM) took a third of a toggle run's time, and
// the user saw no more of it than a task-bar entry flickering by.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  app::ProgramTitle();  // fixed before anything can fail
  app::TForm1 form;
  app::Form1 = &form;
  try {
    form.FormCreate();
  } catch (...) {
    // The rest of FormCreate is skipped and no quit is requested: the
    // window comes up minimized, with the paths FormCreate read.
    app::ReportCurrentException();
  }
  if (!form.quit_requested()) RunSettingsWindow(form);
  app::Form1 = nullptr;
  app::par.clear();
  return 0;
}
