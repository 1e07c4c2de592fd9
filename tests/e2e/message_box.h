// Reading and dismissing the message boxes another process shows, the only
// way the program reports a failure.
#ifndef KELVANE_TESTS_E2E_MESSAGE_BOX_H_
#define KELVANE_TESTS_E2E_MESSAGE_BOX_H_

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct MessageBoxView {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;                  // the Static with id 0xFFFF
  std::vector<std::wstring> buttons;  // texts of its buttons, in z-order
  HWND ok_button = nullptr;           // the button with id IDOK
  HWND icon = nullptr;                // the Static that shows the icon
};

// A visible message box of the process: a dialog ("#32770") that holds the
// message Static. File dialogs are dialogs too, but hold no such Static.
std::optional<MessageBoxView> FindMessageBox(DWORD process_id);
std::optional<MessageBoxView> WaitForMessageBox(DWORD process_id, DWORD timeout_ms);

// Presses OK and waits until the box has gone. (Under Wine WM_CLOSE would
// end the box with IDCANCEL, which a one-button box never returns on
// Windows.)
bool DismissWithOk(const MessageBoxView& box, DWORD timeout_ms);

// Whether the icon control shows the system icon `icon_id` (IDI_HAND, ...):
// the screen under the control is compared with the icon drawn here, on the
// pixels the icon covers whatever lies behind it. Waits for the box to be
// painted, up to `timeout_ms`.
bool ShowsSystemIcon(HWND icon_control, LPCWSTR icon_id, DWORD timeout_ms);

// One line for failure messages: caption, text and buttons.
std::string Describe(const MessageBoxView& box);

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_MESSAGE_BOX_H_
