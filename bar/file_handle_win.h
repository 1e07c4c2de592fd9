#ifndef KELVANE_BAR_FILE_HANDLE_WIN_H_
#define KELVANE_BAR_FILE_HANDLE_WIN_H_

#include <windows.h>

namespace bar {

// Owns a file handle from CreateFileW (INVALID_HANDLE_VALUE: none) and
// closes it once; it cannot be copied. Close reports whether the close
// succeeded, which a save must know: a failed close may be a failed write.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  bool Close() {
    if (!ok()) return true;
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

}  // namespace bar

#endif  // KELVANE_BAR_FILE_HANDLE_WIN_H_
