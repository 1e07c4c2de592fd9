#include "app/toggle_turn_win.h"

#include <cstdint>
#include <vector>

#include "bar/errors.h"

namespace app {

namespace {

// How long a run waits for its turn: longer than the file waits of the run
// holding it can last. Each of its reads and saves waits up to about 2 s
// for a file another program holds, a save that lost its target 2 s more;
// a collapse reads three files and writes two (about 14 s), and a fold
// that writes several sub-bars adds some 6 s for each. 60 s covers that on
// a busy machine; only a holder stuck in such waits makes anyone wait long.
constexpr DWORD kTurnWaitMilliseconds = 60000;

// Waits for the turn on construction and gives it up on destruction. A
// mutex whose holder ended without releasing it is taken over: that run
// wrote nothing after it stopped, and each of its saves is whole. A mutex
// that cannot be made is no turn either: the failure a user meets is
// ERROR_ACCESS_DENIED, the name held by a run with other rights (one started
// as administrator), and toggling beside that run is what the turn is there
// to prevent. The next click, once that run is done, goes ahead.
class ToggleTurn {
 public:
  explicit ToggleTurn(const TurnCalls& calls)
      : calls_(calls), mutex_(calls.create(L"Local\\Kelvane.Toggle")) {
    if (mutex_ == nullptr) return;
    const DWORD waited = calls_.wait(mutex_, kTurnWaitMilliseconds);
    taken_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~ToggleTurn() {
    if (taken_) calls_.release(mutex_);
    if (mutex_ != nullptr) calls_.close(mutex_);
  }
  ToggleTurn(const ToggleTurn&) = delete;
  ToggleTurn& operator=(const ToggleTurn&) = delete;

  bool taken() const { return taken_; }

 private:
  const TurnCalls& calls_;
  HANDLE mutex_;
  bool taken_ = false;
};

}  // namespace

TurnCalls SystemTurnCalls() {
  TurnCalls calls;
  calls.create = [](const wchar_t* name) { return CreateMutexW(nullptr, FALSE, name); };
  calls.wait = WaitForSingleObject;
  calls.release = ReleaseMutex;
  calls.close = CloseHandle;
  return calls;
}

// The file manager may take seconds to answer a reload when it is busy, and
// the turn is not held meanwhile. A toggle that fails asks for none.
bar::ToggleAction RunToggleInTurn(bar::Toggle& toggle, const TurnCalls& calls) {
  std::vector<int32_t> reloads;
  bar::Toggle in_turn = toggle;
  in_turn.send_tc_command = [&reloads](int32_t command) { reloads.push_back(command); };
  bar::ToggleAction action = bar::ToggleAction::kNothing;
  {
    ToggleTurn turn(calls);
    if (!turn.taken()) {
      throw bar::Error(bar::Refusal(toggle, u"unfold or fold") +
                       u"another run of Kelvane is still at work on the bars; nothing was "
                       u"changed, click again");
    }
    action = bar::RunToggle(in_turn);
  }
  if (toggle.send_tc_command) {
    for (int32_t command : reloads) toggle.send_tc_command(command);
  }
  return action;
}

}  // namespace app
