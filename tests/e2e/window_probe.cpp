#include "tests/e2e/window_probe.h"

namespace e2e {

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

struct ProcessWindows {
  DWORD process_id;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectIfOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProcessWindows*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id) search->windows.push_back(window);
  return TRUE;
}

}  // namespace

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied);
  text.resize(copied);
  return text;
}

std::vector<HWND> TopLevelWindows(DWORD process_id) {
  ProcessWindows search{process_id, {}};
  EnumWindows(CollectIfOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  for (HWND child : Children(parent)) {
    all.push_back(child);
    for (HWND below : Descendants(child)) all.push_back(below);
  }
  return all;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<DWORD> DrawnPixels(int width, int height, const std::function<void(HDC)>& draw) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // from the top
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  if (!bitmap) return pixels;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  draw(dc);
  GdiFlush();
  const DWORD* drawn = static_cast<const DWORD*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = drawn[i] & 0xFFFFFF;
  SelectObject(dc, old_bitmap);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return pixels;
}

std::vector<DWORD> ScreenPixels(const RECT& area) {
  return DrawnPixels(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top,
           SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

HWND FindTopLevel(DWORD process_id, const std::wstring& class_name, const std::wstring& caption) {
  for (HWND window : TopLevelWindows(process_id)) {
    if (!IsWindowVisible(window)) continue;
    if (!class_name.empty() && ClassName(window) != class_name) continue;
    if (!caption.empty() && WindowText(window) != caption) continue;
    return window;
  }
  return nullptr;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void SetText(HWND control, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
}

bool WaitUntilIdle(HWND window, DWORD timeout_ms) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeout_ms, &ignored) != 0;
}

}  // namespace e2e
