// Looking at another process's windows from the outside, as a user or an
// accessibility tool would. Texts are read with WM_GETTEXT, which the
// system carries across processes (GetWindowTextW does not).
#ifndef KELVANE_TESTS_E2E_WINDOW_PROBE_H_
#define KELVANE_TESTS_E2E_WINDOW_PROBE_H_

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

std::wstring ClassName(HWND window);
std::wstring WindowText(HWND window);

// Top-level windows of the process, in z-order.
std::vector<HWND> TopLevelWindows(DWORD process_id);
// Direct children, in z-order (which is the order they were created in).
std::vector<HWND> Children(HWND parent);
// Every descendant, depth first.
std::vector<HWND> Descendants(HWND parent);

// The child's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
SIZE ClientSize(HWND window);

// What `draw` leaves on a 32-bit bitmap of that size: 0xRRGGBB values,
// row by row from the top.
std::vector<DWORD> DrawnPixels(int width, int height, const std::function<void(HDC)>& draw);
// The screen's pixels in `area`, as the user sees them.
std::vector<DWORD> ScreenPixels(const RECT& area);

// The process's visible top-level window of this class ("" for any class)
// and, unless empty, this caption; null when there is none.
HWND FindTopLevel(DWORD process_id, const std::wstring& class_name, const std::wstring& caption);

// Calls `probe` every few milliseconds until it returns something true or
// `timeout_ms` has passed; returns its last result.
template <typename Probe>
auto PollFor(Probe probe, DWORD timeout_ms) -> decltype(probe()) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    auto result = probe();
    if (result || GetTickCount64() >= deadline) return result;
    Sleep(15);
  }
}

// Posts the click, so that a handler that opens a modal window does not
// block the test.
void Click(HWND button);
// Sets a control's text as typing it would leave it.
void SetText(HWND control, const std::wstring& text);
// Returns once the window's thread takes messages again (a message sent to
// it is answered), false when it did not within `timeout_ms`. Sent
// messages overtake posted ones, so this does not prove a posted click has
// been handled.
bool WaitUntilIdle(HWND window, DWORD timeout_ms);

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_WINDOW_PROBE_H_
