// A top-level window class whose messages go to a C++ object: the object's
// address travels in CREATESTRUCT and lives in GWLP_USERDATA. Derived
// supplies ClassName(), IconId() (its icon's resource id, app/icon_ids.h)
// and HandleMessage(message, wparam, lparam). No exception crosses the
// window procedure: one that escapes a handler is reported there
// (ReportCurrentException) and the message counts as handled with 0.
#ifndef KELVANE_APP_BASE_WINDOW_WIN_H_
#define KELVANE_APP_BASE_WINDOW_WIN_H_

#include <windows.h>

#include <utility>

#include "app/dpi_win.h"
#include "app/error_report_win.h"
#include "app/icon_win.h"

namespace app {

template <class Derived>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // Destroys the platform window if it still exists. Derived is already
  // gone by now, so the window is detached first: its last messages go to
  // the default procedure.
  ~BaseWindow() {
    if (window_ == nullptr) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }

  HWND Window() const { return window_; }

 protected:
  // Registers the class (once) and creates the window; false on failure.
  bool CreatePlatformWindow(const wchar_t* caption, DWORD style, DWORD ex_style, int x, int y,
                            int width, int height) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    if (!GetClassInfoExW(instance, Derived::ClassName(), &window_class)) {
      window_class.cbSize = sizeof window_class;
      window_class.lpfnWndProc = &BaseWindow::WindowProc;
      window_class.hInstance = instance;
      window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      static const WindowIcons class_icons = LoadWindowIcons(Derived::IconId(), SystemDpi());
      window_class.hIcon = class_icons.big_icon.get();
      window_class.hIconSm = class_icons.small_icon.get();
      window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      window_class.lpszClassName = Derived::ClassName();
      if (!RegisterClassExW(&window_class)) return false;
    }
    HWND window = CreateWindowExW(ex_style, Derived::ClassName(), caption, style, x, y, width,
                                  height, nullptr, nullptr, instance, this);
    if (window == nullptr) return false;
    window_ = window;  // WM_NCCREATE has set it already, for the messages before this
    // The class carries the icon at the system DPI's sizes for the rest of
    // the run; a window on a monitor of another DPI gets its own at that
    // monitor's sizes, and Derived renews them on WM_DPICHANGED.
    const UINT dpi = DpiForWindow(window);
    if (dpi != SystemDpi()) SetIconsForDpi(dpi);
    return true;
  }

  // Gives the window its own big and small icons at dpi, in place of the
  // class's or of those it had before.
  void SetIconsForDpi(UINT dpi) {
    WindowIcons icons = LoadWindowIcons(Derived::IconId(), dpi);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.big_icon.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small_icon.get()));
    icons_ = std::move(icons);  // the old ones go only now that the window shows the new
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    BaseWindow* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      self = static_cast<BaseWindow*>(create->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
      return DefWindowProcW(window, message, wparam, lparam);
    }
    try {
      return static_cast<Derived*>(self)->HandleMessage(message, wparam, lparam);
    } catch (...) {
      ReportCurrentException();
      return 0;
    }
  }

  HWND window_ = nullptr;
  WindowIcons icons_;  // the window's own, if any; ~BaseWindow destroys the window first
};

}  // namespace app

#endif  // KELVANE_APP_BASE_WINDOW_WIN_H_
