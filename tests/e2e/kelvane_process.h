// One run of kelvane.exe, started the way the file manager's button starts
// it, and ended by the test at the latest: a run still going when the
// object goes is terminated, so no test leaves a process behind.
#ifndef KELVANE_TESTS_E2E_KELVANE_PROCESS_H_
#define KELVANE_TESTS_E2E_KELVANE_PROCESS_H_

#include <windows.h>

#include <string>

namespace e2e {

// Bounds of every wait on the program. Generous, because a loaded CI
// machine under Wine can be slow; a passing run never waits that long.
constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;

class KelvaneProcess {
 public:
  // Starts `exe` with the command line "<exe>" followed by a blank and
  // `arguments` exactly as given (quotes and all); no argument when
  // `arguments` is empty. The working folder is another folder than the
  // program's, since the program must not depend on it.
  KelvaneProcess(const std::wstring& exe, const std::wstring& arguments);
  ~KelvaneProcess();
  KelvaneProcess(const KelvaneProcess&) = delete;
  KelvaneProcess& operator=(const KelvaneProcess&) = delete;

  DWORD id() const { return id_; }
  bool Running() const;
  // True once the program waits for input with nothing left to do, false
  // when it has not come to that within `timeout_ms`.
  bool WaitUntilIdle(DWORD timeout_ms = kStartTimeoutMs) const;
  // True when the process has ended within `timeout_ms`.
  bool WaitForExit(DWORD timeout_ms = kExitTimeoutMs) const;

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_KELVANE_PROCESS_H_
