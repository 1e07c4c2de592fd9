// Pixels per inch of the monitor a window is on. The layout is given at 96
// DPI and scaled from there. The functions that know per-monitor DPI are
// looked up at run time, so that the program still starts on systems (and
// Wine versions) without them.
#ifndef KELVANE_APP_DPI_WIN_H_
#define KELVANE_APP_DPI_WIN_H_

#include <windows.h>

namespace app {

constexpr UINT kDesignDpi = 96;

// GetDpiForWindow where it exists, else the monitor's DPI (GetDpiForMonitor),
// else the screen's logical DPI.
UINT DpiForWindow(HWND window);

// A length of the 96-DPI layout at dpi, rounded to the nearest pixel.
int ScaleToDpi(int design_pixels, UINT dpi);

// The system DPI: the primary monitor's at sign-in, which GetSystemMetrics
// answers for.
UINT SystemDpi();

// GetSystemMetrics(index) as at dpi: GetSystemMetricsForDpi where it exists,
// else the system DPI's value scaled to dpi.
int SystemMetricForDpi(int index, UINT dpi);

}  // namespace app

#endif  // KELVANE_APP_DPI_WIN_H_
