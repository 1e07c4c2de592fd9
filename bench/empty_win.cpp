// A Windows program that starts and ends, nothing else. scripts/bench.sh
// starts it exactly as a toggle is started, so its wall time is what
// starting any program costs: the floor against which kelvane.exe is held.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
