#include "app/notify_win.h"

#include <windows.h>

#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "gtest/gtest.h"

namespace app {
namespace {

// A stand-in for the file manager's main window on this thread: a hidden
// top-level window of class "TTOTAL_CMD" that records the command messages.
class FileManagerWindow {
 public:
  FileManagerWindow() {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &FileManagerWindow::Procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"TTOTAL_CMD";
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, L"TTOTAL_CMD", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              window_class.hInstance, nullptr);
    received().clear();
  }
  ~FileManagerWindow() {
    DestroyWindow(window_);
    UnregisterClassW(L"TTOTAL_CMD", GetModuleHandleW(nullptr));
  }
  FileManagerWindow(const FileManagerWindow&) = delete;
  FileManagerWindow& operator=(const FileManagerWindow&) = delete;

  static std::vector<std::pair<WPARAM, LPARAM>>& received() {
    static std::vector<std::pair<WPARAM, LPARAM>> messages;
    return messages;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kTcCommandMessage) {
      received().emplace_back(wparam, lparam);
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  HWND window_ = nullptr;
};

TEST(SendTCCommandTest, SendsTheCommandMessageToTheFileManager) {
  std::optional<FileManagerWindow> file_manager(std::in_place);
  SendTCCommand(2901);
  SendTCCommand(2901);
  std::vector<std::pair<WPARAM, LPARAM>> expected = {{2901, 0}, {2901, 0}};
  EXPECT_EQ(FileManagerWindow::received(), expected);
  EXPECT_EQ(kTcCommandMessage, static_cast<unsigned>(WM_USER + 51));
  // Looked up for each message: a file manager started anew in between
  // gets the next one.
  file_manager.emplace();
  SendTCCommand(2901);
  EXPECT_EQ(FileManagerWindow::received(), (std::vector<std::pair<WPARAM, LPARAM>>{{2901, 0}}));
}

TEST(SendTCCommandTest, SendsNothingForCommandsOfZeroAndBelow) {
  FileManagerWindow file_manager;
  SendTCCommand(0);
  SendTCCommand(-2901);
  EXPECT_TRUE(FileManagerWindow::received().empty());
}

TEST(SendTCCommandTest, WithoutFileManagerReturnsQuietly) {
  if (FindWindowW(L"TTOTAL_CMD", nullptr) != nullptr) GTEST_SKIP() << "a file manager is running";
  SendTCCommand(2901);
}

// A file manager that stops answering must not keep the toggle from
// ending: the send gives up after its bound. (This test takes that long.)
TEST(SendTCCommandTest, GivesUpOnAFileManagerThatDoesNotAnswer) {
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread busy([&] {
    FileManagerWindow file_manager;
    SetEvent(created);
    WaitForSingleObject(release, INFINITE);  // pumps no messages meanwhile
  });
  WaitForSingleObject(created, INFINITE);
  SendTCCommand(2901);  // returns, although nobody handles it
  SetEvent(release);
  busy.join();
  CloseHandle(created);
  CloseHandle(release);
}

}  // namespace
}  // namespace app
