// A stand-in for the file manager's main window: a top-level window of class
// "TTOTAL_CMD" on its own thread, recording every message it receives
// together with the content of chosen files at that very moment, so a test
// can prove that a notification came after the files were saved.
#ifndef KELVANE_TESTS_E2E_FILE_MANAGER_STAND_IN_H_
#define KELVANE_TESTS_E2E_FILE_MANAGER_STAND_IN_H_

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// The message by which the program tells the file manager a command.
constexpr UINT kTcCommandMessage = WM_USER + 51;  // 1075
// The command it sends after each toggle: reload the button bar.
constexpr WPARAM kReloadBarCommand = 2901;

struct ReceivedMessage {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  // The watched files' contents when the message arrived (nothing for a
  // file that could not be read), in the order they were given.
  std::vector<std::optional<std::string>> files;
};

class FileManagerStandIn {
 public:
  // Creates the window and returns once it can be found.
  explicit FileManagerStandIn(std::vector<std::wstring> watched_files = {});
  ~FileManagerStandIn();
  FileManagerStandIn(const FileManagerStandIn&) = delete;
  FileManagerStandIn& operator=(const FileManagerStandIn&) = delete;

  // The messages from WM_USER up, which only another program sends: the
  // window's own traffic (creation, activation, painting) is left out.
  std::vector<ReceivedMessage> UserMessages() const;

 private:
  static void RegisterOnce();
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Run(HANDLE ready);
  void Record(UINT message, WPARAM wparam, LPARAM lparam);

  const std::vector<std::wstring> watched_files_;
  mutable std::mutex mutex_;
  std::vector<ReceivedMessage> messages_;
  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  std::thread thread_;
};

std::string Describe(const std::vector<ReceivedMessage>& messages);

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_FILE_MANAGER_STAND_IN_H_
