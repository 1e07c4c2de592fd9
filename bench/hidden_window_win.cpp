// What the window system costs a toggle run apart from its files, COM and
// controls: look for the file manager's window, create a hidden top-level
// window as kelvane.exe creates its one window, and leave the message loop
// at once. Started like a toggle, it shows how much of a toggle's wall time
// under Wine any program with a window pays.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  FindWindowW(L"TTOTAL_CMD", nullptr);
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"KelvaneBenchHiddenWindow";
  if (RegisterClassW(&window_class) == 0) return 1;
  HWND window = CreateWindowExW(
      0, window_class.lpszClassName, L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
      CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  PostQuitMessage(0);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  DestroyWindow(window);
  return 0;
}
