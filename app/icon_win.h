// The program's icons for a window, loaded from kelvane.exe's resources at
// the sizes a DPI asks for: the small one of the title bar and the big one
// of Alt+Tab. Each handle owns its icon and destroys it: loaded at a size of
// the caller's choosing, an icon is not the system's shared copy.
#ifndef KELVANE_APP_ICON_WIN_H_
#define KELVANE_APP_ICON_WIN_H_

#include <windows.h>

#include <memory>
#include <type_traits>

namespace app {

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct WindowIcons {
  IconHandle big_icon;    // SM_CXICON by SM_CYICON at the DPI
  IconHandle small_icon;  // SM_CXSMICON by SM_CYSMICON at the DPI
};

// The icon resource `id` (app/icon_ids.h) at the big and small icon sizes of
// dpi; a handle stays null where the system cannot load the icon.
WindowIcons LoadWindowIcons(int id, UINT dpi);

}  // namespace app

#endif  // KELVANE_APP_ICON_WIN_H_
