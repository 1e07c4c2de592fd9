// The least a toggle does on Windows besides its files: look for the file
// manager's window to notify, which loads the window system. Started like a
// toggle, its wall time splits what any program that sends a window message
// pays under Wine from what kelvane.exe adds to it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  FindWindowW(L"TTOTAL_CMD", nullptr);
  return 0;
}
