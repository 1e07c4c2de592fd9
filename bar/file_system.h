// Whole-file reads and atomic replaces: the only way the core touches files.
// PlatformFileSystem() is CreateFileW & co. on Windows and POSIX calls
// elsewhere; tests substitute their own FileSystem to inject faults.
// On POSIX a "\" in a path is a separator, as the core composes Windows
// paths. <windows.h> defines ReplaceFile as a macro: a file that includes it
// must #undef ReplaceFile to call the method below.
#ifndef KELVANE_BAR_FILE_SYSTEM_H_
#define KELVANE_BAR_FILE_SYSTEM_H_

#include <optional>
#include <string>
#include <string_view>

namespace bar {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // All bytes of an existing file, opened for reading while other processes
  // may read, rename or delete it but not write it (Windows; POSIX has no
  // sharing modes); a file another process holds for a replace or a write
  // is tried again for about a second, as ReplaceFile does. Throws
  // OpenError "Cannot open file "<FullPath(path)>". <reason>", the reason
  // being the system's text without trailing blanks, line breaks and full
  // stops; a folder is refused the same way.
  virtual std::string ReadFile(const std::u16string& path) = 0;

  // ReadFile, but nullopt instead of the OpenError when the file does not
  // exist (nor, on Windows, a folder on its path).
  virtual std::optional<std::string> ReadFileIfExists(const std::u16string& path) = 0;

  // Replaces the file's content in one step, creating it if it is missing:
  // the bytes go to a temporary file beside it ("<name>.kelvane-<unique>"),
  // are flushed to disk, and the temporary file then takes the target's
  // place, keeping the target's attributes (Windows: hidden, system,
  // archive; POSIX: permission bits, and owner where allowed). On Windows an
  // existing target is replaced by ReplaceFileW, which also keeps its
  // security descriptor, owner, creation time and named streams; where that
  // call cannot serve (under Wine, whose version is not one step, or on a
  // file system that refuses it) a rename replaces it, still in one step.
  // A failure leaves the old file and no temporary file; a crash leaves the
  // old file or the new one, never a mixture.
  // Throws CreateError "Cannot create file "<FullPath(path)>". <reason>" for
  // a read-only target (Windows: the read-only attribute; POSIX: no write
  // permission, or no write bit at all, which holds even for root), a folder,
  // a missing folder, or a target still held open by another process after
  // about a second of retries (Windows). A folder that exists but takes no
  // temporary file (no permission to create files in it, a name too long
  // for the suffix) throws CreateError "Cannot create a temporary file in
  // the folder "<the folder of FullPath(path)>". <reason>". A write that
  // stops short throws WriteError "Stream write error". Either way the
  // target stays as it was.
  virtual void ReplaceFile(const std::u16string& path, std::string_view bytes) = 0;

  // The path made absolute, as messages show it (Windows: GetFullPathNameW,
  // any length; POSIX: against the working directory, "\" shown as "/",
  // "." and ".." folded away without resolving links).
  virtual std::u16string FullPath(const std::u16string& path) = 0;
};

// The real files of this platform.
FileSystem& PlatformFileSystem();

}  // namespace bar

#endif  // KELVANE_BAR_FILE_SYSTEM_H_
