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

#include "bar/errors.h"

namespace bar {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // All bytes of an existing file. Meanwhile others may read it but neither
  // write, rename nor delete it (Windows; POSIX has no sharing modes); a file
  // held by another process's write or replace, or with a locked range, is
  // tried again for about two seconds. Throws OpenError "Cannot open file
  // "<FullPath(path)>". <reason>", the reason being the system's text without
  // trailing blanks, line breaks and full stops; a folder is refused so too.
  virtual std::string ReadFile(const std::u16string& path) = 0;

  // ReadFile, but nullopt instead of the OpenError when the file does not
  // exist (nor, on Windows, a folder on its path).
  std::optional<std::string> ReadFileIfExists(const std::u16string& path) {
    std::u16string failure;
    std::optional<std::string> bytes = ReadFileIfReadable(path, failure);
    if (!failure.empty()) {
      throw OpenError(u"Cannot open file \"" + FullPath(path) + u"\". " + failure);
    }
    return bytes;
  }

  // ReadFileIfExists for a file that is only looked into: where it cannot be
  // read, nullopt with `failure` set to the OpenError's reason instead.
  virtual std::optional<std::string> ReadFileIfReadable(const std::u16string& path,
                                                        std::u16string& failure) = 0;

  // Replaces the file's content in one step (creating it if missing) by a
  // flushed file "<name>.kelvane-<unique>" beside it, which takes its place
  // and attributes; on Windows the file a link points to is the one
  // replaced, the link kept. Throws WriteError "Stream write error" or
  // CreateError "Cannot create file "<FullPath(path)>". <reason>" (read-only,
  // a folder or none, held all the wait) or "Cannot create a temporary file
  // in the folder "<folder>". <reason>", keeping the old file; where the
  // name holds no file afterwards, ". Its new content is in "<the new file's
  // full path>"" follows.
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
