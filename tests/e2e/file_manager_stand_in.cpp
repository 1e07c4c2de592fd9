#include "tests/e2e/file_manager_stand_in.h"

#include <stdexcept>

#include "tests/e2e/program_folder.h"

namespace e2e {

namespace {

constexpr wchar_t kClassName[] = L"TTOTAL_CMD";

}  // namespace

void FileManagerStandIn::RegisterOnce() {
  static const ATOM atom = [] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &FileManagerStandIn::Procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kClassName;
    return RegisterClassW(&window_class);
  }();
  if (!atom) throw std::runtime_error("cannot register the TTOTAL_CMD class");
}

FileManagerStandIn::FileManagerStandIn(std::vector<std::wstring> watched_files)
    : watched_files_(std::move(watched_files)) {
  RegisterOnce();
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this, ready] { Run(ready); });
  const bool created = WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0 && window_;
  CloseHandle(ready);
  if (!created) {
    if (thread_id_) PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
    throw std::runtime_error("the TTOTAL_CMD stand-in window could not be created");
  }
}

FileManagerStandIn::~FileManagerStandIn() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  thread_.join();
}

void FileManagerStandIn::Run(HANDLE ready) {
  thread_id_ = GetCurrentThreadId();
  // Hidden, as FindWindowW finds hidden top-level windows too; a visible one
  // would only get in the way of the screen the tests look at.
  HWND window = CreateWindowExW(0, kClassName, L"File manager stand-in", WS_OVERLAPPEDWINDOW, 0, 0,
                                200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  window_ = window;
  SetEvent(ready);
  if (!window) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

LRESULT CALLBACK FileManagerStandIn::Procedure(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<FileManagerStandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self) self->Record(message, wparam, lparam);
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

void FileManagerStandIn::Record(UINT message, WPARAM wparam, LPARAM lparam) {
  ReceivedMessage received{message, wparam, lparam, {}};
  if (message >= WM_USER) {
    for (const std::wstring& file : watched_files_) received.files.push_back(ReadFileBytes(file));
  }
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.push_back(std::move(received));
}

std::vector<ReceivedMessage> FileManagerStandIn::UserMessages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<ReceivedMessage> user;
  for (const ReceivedMessage& received : messages_) {
    if (received.message >= WM_USER) user.push_back(received);
  }
  return user;
}

std::string Describe(const std::vector<ReceivedMessage>& messages) {
  std::string text = std::to_string(messages.size()) + " message(s):";
  for (const ReceivedMessage& received : messages) {
    text += " (" + std::to_string(received.message) + ", " + std::to_string(received.wparam) +
            ", " + std::to_string(received.lparam) + ")";
  }
  return text;
}

}  // namespace e2e
