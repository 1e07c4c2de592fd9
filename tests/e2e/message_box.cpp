#include "tests/e2e/message_box.h"

#include <cstdint>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/window_probe.h"

namespace e2e {

namespace {

constexpr int kMessageStaticId = 0xFFFF;

std::optional<MessageBoxView> Read(HWND box) {
  HWND message = GetDlgItem(box, kMessageStaticId);
  if (!message || ClassName(message) != L"Static") return std::nullopt;
  MessageBoxView view;
  view.window = box;
  view.caption = WindowText(box);
  view.text = WindowText(message);
  for (HWND child : Children(box)) {
    const std::wstring kind = ClassName(child);
    if (kind == L"Button") {
      view.buttons.push_back(WindowText(child));
      if (GetDlgCtrlID(child) == IDOK) view.ok_button = child;
    } else if (kind == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      view.icon = child;
    }
  }
  return view;
}

// A 32-bit top-down bitmap with its pixels in reach.
class Pixels {
 public:
  Pixels(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Pixels() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;

  HDC dc() const { return dc_; }
  uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

bool ScreenMatchesIcon(HWND icon_control, LPCWSTR icon_id) {
  RECT rect{};
  GetWindowRect(icon_control, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  Pixels screen(width, height);
  HDC desktop = GetDC(nullptr);
  BitBlt(screen.dc(), 0, 0, width, height, desktop, rect.left, rect.top, SRCCOPY);
  ReleaseDC(nullptr, desktop);

  HICON icon = LoadIconW(nullptr, icon_id);
  Pixels on_black(width, height), on_white(width, height);
  on_black.Fill(RGB(0, 0, 0));
  on_white.Fill(RGB(255, 255, 255));
  DrawIconEx(on_black.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  DrawIconEx(on_white.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);

  int opaque = 0, mismatched = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (on_black.At(x, y) != on_white.At(x, y)) continue;
      ++opaque;
      if (screen.At(x, y) != on_black.At(x, y)) ++mismatched;
    }
  }
  return opaque >= width * height / 4 && mismatched * 50 <= opaque;
}

}  // namespace

std::optional<MessageBoxView> FindMessageBox(DWORD process_id) {
  for (HWND window : TopLevelWindows(process_id)) {
    if (!IsWindowVisible(window) || ClassName(window) != L"#32770") continue;
    if (auto view = Read(window)) return view;
  }
  return std::nullopt;
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD process_id, DWORD timeout_ms) {
  return PollFor([&] { return FindMessageBox(process_id); }, timeout_ms);
}

bool DismissWithOk(const MessageBoxView& box, DWORD timeout_ms) {
  if (!box.ok_button) return false;
  Click(box.ok_button);
  return PollFor([&] { return !IsWindow(box.window); }, timeout_ms);
}

bool ShowsSystemIcon(HWND icon_control, LPCWSTR icon_id, DWORD timeout_ms) {
  return PollFor([&] { return ScreenMatchesIcon(icon_control, icon_id); }, timeout_ms);
}

std::string Describe(const MessageBoxView& box) {
  std::string line = "message box \"" + Utf8(box.caption) + "\": \"" + Utf8(box.text) + "\"";
  for (const std::wstring& button : box.buttons) line += " [" + Utf8(button) + "]";
  return line;
}

}  // namespace e2e
