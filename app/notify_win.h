// Telling the running file manager that its button bar changed.
#ifndef KELVANE_APP_NOTIFY_WIN_H_
#define KELVANE_APP_NOTIFY_WIN_H_

#include <cstdint>

namespace app {

// The file manager's command message: WM_USER + 51, wParam the command
// number, lParam 0.
constexpr unsigned kTcCommandMessage = 1075;

// How long one message may wait for the file manager to handle it.
constexpr unsigned kTcCommandTimeoutMs = 5000;

// Sends command CommandID to the top-level window of class "TTOTAL_CMD",
// looked up anew on every call. Nothing is sent when no such window exists
// or CommandID is 0 or negative. Waits until the window has handled the
// message, at most kTcCommandTimeoutMs, and sooner gives up on a window
// the system already considers hung. Never fails.
void SendTCCommand(int32_t CommandID);

}  // namespace app

#endif  // KELVANE_APP_NOTIFY_WIN_H_
