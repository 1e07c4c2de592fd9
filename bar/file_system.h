// Whole-file reads and atomic replaces: the only way the core touches files.
// PlatformFileSystem() is CreateFileW & co. on Windows and POSIX calls
// elsewhere; tests substitute their own FileSystem to inject faults.
#ifndef KELVANE_BAR_FILE_SYSTEM_H_
#define KELVANE_BAR_FILE_SYSTEM_H_

#include <string>
#include <string_view>

namespace bar {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // All bytes of an existing file, opened for reading while other processes
  // may read but not write it. Throws OpenError
  // "Cannot open file "<FullPath(path)>". <SystemErrorText>".
  virtual std::string ReadFile(const std::u16string& path) = 0;

  // Replaces the file's content in one step: the bytes go to a temporary
  // file beside it, are flushed to disk, and the temporary file then takes
  // the target's place (keeping the target's attributes). A failure or a
  // crash leaves the old file or the new one, never a mixture, and no
  // temporary file behind. A read-only target, or one that cannot be
  // replaced, throws CreateError "Cannot create file "<full path>". <reason>"
  // and leaves the target as it was; a write that stops short throws
  // WriteError "Stream write error", also leaving the target as it was.
  virtual void ReplaceFile(const std::u16string& path, std::string_view bytes) = 0;

  // The path made absolute (GetFullPathNameW; POSIX: against the working
  // directory, without resolving links).
  virtual std::u16string FullPath(const std::u16string& path) = 0;
};

// The real files of this platform.
FileSystem& PlatformFileSystem();

}  // namespace bar

#endif  // KELVANE_BAR_FILE_SYSTEM_H_
