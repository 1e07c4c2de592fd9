#include "tests/e2e/kelvane_process.h"

#include <stdexcept>

#include "tests/e2e/bar_bytes.h"

namespace e2e {

namespace {

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  return temp;
}

}  // namespace

KelvaneProcess::KelvaneProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const std::wstring working_folder = TempFolder();
  // Under a loaded machine Wine now and then fails to start a process with
  // ERROR_INTERNAL_ERROR; a second try a moment later succeeds.
  DWORD error = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       working_folder.c_str(), &startup, &info)) {
      error = 0;
      break;
    }
    error = GetLastError();
    Sleep(200);
  }
  if (error != 0) {
    throw std::runtime_error("cannot start " + Utf8(exe) + ": error " + std::to_string(error));
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

KelvaneProcess::~KelvaneProcess() {
  if (Running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kExitTimeoutMs);
  }
  CloseHandle(process_);
}

bool KelvaneProcess::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool KelvaneProcess::WaitUntilIdle(DWORD timeout_ms) const {
  return WaitForInputIdle(process_, timeout_ms) == 0;
}

bool KelvaneProcess::WaitForExit(DWORD timeout_ms) const {
  return WaitForSingleObject(process_, timeout_ms) == WAIT_OBJECT_0;
}

}  // namespace e2e
