#include "app/icon_win.h"

#include "app/dpi_win.h"

namespace app {

namespace {

// Without LR_SHARED, so that the system picks the group's image of that size
// (or scales the nearest one) instead of handing out its copy at the
// system's standard size.
IconHandle LoadIconOfSize(int id, int width, int height) {
  HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width,
                           height, LR_DEFAULTCOLOR);
  return IconHandle(static_cast<HICON>(icon));
}

}  // namespace

WindowIcons LoadWindowIcons(int id, UINT dpi) {
  return {
      LoadIconOfSize(id, SystemMetricForDpi(SM_CXICON, dpi), SystemMetricForDpi(SM_CYICON, dpi)),
      LoadIconOfSize(id, SystemMetricForDpi(SM_CXSMICON, dpi),
                     SystemMetricForDpi(SM_CYSMICON, dpi))};
}

}  // namespace app
