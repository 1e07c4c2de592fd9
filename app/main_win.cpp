// The program entry: start-up, the event loop, the end.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/error_report_win.h"
#include "app/form1_win.h"
#include "app/process_win.h"

namespace {

// COM for the run: the file dialogs need a single-threaded apartment on the
// window thread.
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  app::ProgramTitle();  // fixed before anything can fail
  ComApartment com;
  INITCOMMONCONTROLSEX common_controls = {sizeof common_controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common_controls);

  app::TForm1 form;
  app::Form1 = &form;
  bool created = false;
  try {
    form.CreateForm();
    created = true;
    form.FormCreate();
  } catch (...) {
    // The rest of FormCreate is skipped and no quit is requested: the
    // window stays available, minimized, with the paths it read.
    app::ReportCurrentException();
  }
  if (created) {
    form.ShowAfterCreation();
    RunEventLoop(form.Window());
  }
  app::Form1 = nullptr;
  app::par.clear();
  return 0;
}
