// Runs started together (a double click, or buttons on both bars) take
// turns at the whole toggle, so that none decides on a bar that another is
// about to save: the file waits make each read and save whole, not the
// decision between them. A run that does not get its turn within ten
// seconds toggles all the same.
#ifndef KELVANE_APP_TOGGLE_TURN_WIN_H_
#define KELVANE_APP_TOGGLE_TURN_WIN_H_

#include <windows.h>

namespace app {

// Waits for the turn on construction and gives it up on destruction; it
// cannot be copied. A mutex whose holder ended without releasing it is
// taken over: that run wrote nothing after it stopped.
class ToggleTurn {
 public:
  ToggleTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Kelvane.Toggle")) {
    if (mutex_ == nullptr) return;
    const DWORD waited = WaitForSingleObject(mutex_, kLongestWaitMilliseconds);
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~ToggleTurn() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  ToggleTurn(const ToggleTurn&) = delete;
  ToggleTurn& operator=(const ToggleTurn&) = delete;

 private:
  static constexpr DWORD kLongestWaitMilliseconds = 10000;

  HANDLE mutex_;
  bool owned_ = false;
};

}  // namespace app

#endif  // KELVANE_APP_TOGGLE_TURN_WIN_H_
