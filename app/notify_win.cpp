#include "app/notify_win.h"

#include <windows.h>

namespace app {

void SendTCCommand(int32_t CommandID) {
  HWND Tc_H = FindWindowW(L"TTOTAL_CMD", nullptr);
  if (Tc_H == nullptr) return;
  if (CommandID <= 0) return;
  // A plain SendMessageW would wait for ever on a file manager that does
  // not answer, and the toggle (whose files are already written) would
  // never end. The bound is generous for a bar reload; a hung window is
  // skipped at once. The result tells nothing the toggle could act on.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Tc_H, kTcCommandMessage, static_cast<WPARAM>(CommandID), 0,
                      SMTO_NORMAL | SMTO_ABORTIFHUNG, kTcCommandTimeoutMs, &ignored);
}

}  // namespace app
