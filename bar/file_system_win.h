// The Windows file system with the Win32 calls it makes held in one place,
// so that a test can play every answer the system may give on real files.
#ifndef KELVANE_BAR_FILE_SYSTEM_WIN_H_
#define KELVANE_BAR_FILE_SYSTEM_WIN_H_

#include <windows.h>
// <windows.h> maps ReplaceFile to ReplaceFileW, which would rename the
// interface's method.
#undef ReplaceFile

#include <functional>
#include <memory>

#include "bar/file_system.h"

namespace bar {

// Each call answers as its Win32 namesake does: FALSE or
// INVALID_HANDLE_VALUE with the reason in GetLastError().
struct WindowsFileCalls {
  std::function<HANDLE(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                       DWORD attributes)>
      create;  // CreateFileW
  std::function<BOOL(HANDLE file, void* buffer, DWORD size, DWORD* count)> read;
  std::function<BOOL(HANDLE file, const void* bytes, DWORD size, DWORD* count)> write;
  std::function<BOOL(HANDLE file)> flush;  // FlushFileBuffers
  // ReplaceFileW without a backup, ignoring merge and ACL errors; empty
  // where that call cannot serve (Wine).
  std::function<BOOL(const wchar_t* replaced, const wchar_t* replacement)> replace;
  // MoveFileExW replacing an existing file, written through.
  std::function<BOOL(const wchar_t* from, const wchar_t* to)> move;
  std::function<BOOL(const wchar_t* path)> remove;  // DeleteFileW
  std::function<void(DWORD milliseconds)> sleep;    // between the tries of a wait
};

// The calls as this system makes them.
WindowsFileCalls SystemFileCalls();

// A file system that makes its calls through `calls`: the seam for tests.
std::unique_ptr<FileSystem> MakeWindowsFileSystem(WindowsFileCalls calls);

}  // namespace bar

#endif  // KELVANE_BAR_FILE_SYSTEM_WIN_H_
