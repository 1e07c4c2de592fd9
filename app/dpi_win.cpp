#include "app/dpi_win.h"

#include "app/system_function_win.h"

namespace app {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
// shcore's GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI = 0, &x, &y).
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

}  // namespace

UINT DpiForWindow(HWND window) {
  static const auto for_window =
      SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (for_window != nullptr) {
    UINT dpi = for_window(window);
    if (dpi != 0) return dpi;
  }
  static const auto for_monitor =
      SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
  if (for_monitor != nullptr) {
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (SUCCEEDED(for_monitor(monitor, 0, &x, &y)) && y != 0) return y;
  }
  return SystemDpi();
}

int ScaleToDpi(int design_pixels, UINT dpi) {
  return MulDiv(design_pixels, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// A DPI-aware process's screen DC is at the system DPI.
UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

// Without GetSystemMetricsForDpi (before Windows 10 1607) a monitor's DPI
// can still differ from the system's (Windows 8.1), so the value is scaled.
int SystemMetricForDpi(int index, UINT dpi) {
  static const auto for_dpi =
      SystemFunction<GetSystemMetricsForDpiFunction>(L"user32.dll", "GetSystemMetricsForDpi");
  if (for_dpi != nullptr) return for_dpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

}  // namespace app
