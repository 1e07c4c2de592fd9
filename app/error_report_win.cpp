#include "app/error_report_win.h"

#include <windows.h>

#include <exception>
#include <new>
#include <optional>

#include "app/app_errors.h"
#include "app/control_text_win.h"
#include "app/process_win.h"
#include "app/report_text.h"
#include "bar/errors.h"
#include "bar/unicode.h"

namespace app {

namespace {

void ShowMessageBox(const std::u16string& message) {
  HWND active = GetActiveWindow();
  HWND focus = GetFocus();
  // Owned by the active window, the box disables it while it is open. With
  // no active window (a failed toggle, whose window is created only after
  // the report), the box gets its own task-bar entry, and task-modal keeps
  // any other window of the program from taking input meanwhile.
  HWND owner = active != nullptr && IsWindowVisible(active) ? active : nullptr;
  UINT flags = MB_OK | MB_ICONSTOP | (owner == nullptr ? MB_TASKMODAL : 0);
  MessageBoxW(owner, ToWide(ReportText(message)).c_str(), ToWide(ProgramTitle()).c_str(), flags);
  if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
  if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
}

// The text of the exception being handled; none for the silent EAbort.
std::optional<std::u16string> CurrentExceptionMessage() {
  try {
    throw;
  } catch (const EAbort&) {
    return std::nullopt;
  } catch (const bar::Error& error) {
    return error.message();
  } catch (const std::bad_alloc&) {
    return u"Out of memory";
  } catch (const std::exception& error) {
    return bar::FromUtf8(error.what());
  } catch (...) {
    return u"Unexpected failure";
  }
}

}  // namespace

void ReportCurrentException() noexcept {
  try {
    std::optional<std::u16string> message = CurrentExceptionMessage();
    if (message) ShowMessageBox(*message);
  } catch (...) {
    // Out of memory while building the text: there is no other way to tell.
  }
}

}  // namespace app
