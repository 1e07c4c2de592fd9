#ifndef KELVANE_BAR_FILE_HANDLE_WIN_H_
#define KELVANE_BAR_FILE_HANDLE_WIN_H_

#include <windows.h>

#include "bar/owned_handle.h"

namespace bar {

struct FileHandleTraits {
  using Handle = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != 0; }
};

// Owns a file handle from CreateFileW (INVALID_HANDLE_VALUE: none).
class FileHandle : public OwnedHandle<FileHandleTraits> {
 public:
  using OwnedHandle::OwnedHandle;
};

}  // namespace bar

#endif  // KELVANE_BAR_FILE_HANDLE_WIN_H_
