// Runs started together (a double click, or buttons on both bars) take
// turns at the toggle's reads, decision and saves, so that none decides on
// a bar that another is about to save: the file waits make each read and
// save whole, not the decision between them.
#ifndef KELVANE_APP_TOGGLE_TURN_WIN_H_
#define KELVANE_APP_TOGGLE_TURN_WIN_H_

#include <windows.h>

#include <functional>

#include "bar/toggle.h"

namespace app {

// The calls the turn makes, each answering as its Win32 namesake does: the
// seam for tests.
struct TurnCalls {
  std::function<HANDLE(const wchar_t* name)> create;            // CreateMutexW, not owned
  std::function<DWORD(HANDLE mutex, DWORD milliseconds)> wait;  // WaitForSingleObject
  std::function<BOOL(HANDLE mutex)> release;                    // ReleaseMutex
  std::function<BOOL(HANDLE handle)> close;                     // CloseHandle
};

// The calls as this system makes them.
TurnCalls SystemTurnCalls();

// RunToggle in this run's turn, then the reload commands it asked for, sent
// once the turn is given up. A turn whose holder ended without giving it up
// is taken over. A run that does not get its turn within the wait, or
// cannot make the turn's mutex, toggles nothing and throws bar::Error
// "Cannot unfold or fold "<sub-bar>": another run of Kelvane is still at
// work on the bars; nothing was changed, click again".
bar::ToggleAction RunToggleInTurn(bar::Toggle& toggle, const TurnCalls& calls = SystemTurnCalls());

}  // namespace app

#endif  // KELVANE_APP_TOGGLE_TURN_WIN_H_
