// Files through POSIX calls, for the native build and its tests. The core
// composes Windows paths ("...\Bar\tools.bar"), so a backslash is taken for
// a path separator here.

#include "bar/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "bar/errors.h"
#include "bar/owned_handle.h"
#include "bar/unicode.h"

namespace bar {
namespace {

std::string NativePath(const std::u16string& path) {
  std::string native = ToUtf8(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

// Absolute against the working directory, "." and ".." folded away and
// every separator shown as "/": the path of the file that was really meant,
// the way GetFullPathNameW shows it on Windows. Links are not resolved.
std::u16string AbsolutePath(const std::u16string& path) {
  std::filesystem::path native(NativePath(path));
  std::error_code ignored;
  if (native.is_relative()) native = std::filesystem::current_path(ignored) / native;
  return FromUtf8(native.lexically_normal().string());
}

// strerror's text, shaped like the Windows texts the messages were made for:
// no trailing blanks, line breaks or full stops.
std::u16string SystemErrorText(int error) {
  std::string text = std::generic_category().message(error);
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '.')) {
    text.pop_back();
  }
  return FromUtf8(text);
}

OpenError OpenFailure(const std::u16string& path, int error) {
  return OpenError(u"Cannot open file \"" + AbsolutePath(path) + u"\". " + SystemErrorText(error));
}

CreateError CreateFailure(const std::u16string& path, int error) {
  return CreateError(u"Cannot create file \"" + AbsolutePath(path) + u"\". " +
                     SystemErrorText(error));
}

WriteError WriteFailure() { return WriteError(u"Stream write error"); }

struct FileDescriptorTraits {
  using Handle = int;
  static int None() { return -1; }
  static bool Valid(int fd) { return fd >= 0; }
  // close() is where some file systems (NFS) report a failed write.
  static bool Close(int fd) { return close(fd) == 0; }
};

using FileDescriptor = OwnedHandle<FileDescriptorTraits>;

// The file's bytes into `bytes`; 0, or the errno of the open or the read.
int ReadAll(const std::u16string& path, std::string& bytes) {
  FileDescriptor file(open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.ok()) return errno;
  struct stat info;
  if (fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode)) {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  }
  char buffer[65536];
  for (;;) {
    ssize_t count = read(file.get(), buffer, sizeof buffer);
    if (count == 0) return 0;
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno;  // a folder opens, but read() refuses it
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

// rename() needs no write permission on the target, and root may write
// anything; a file that nobody may write is still meant to stay as it is,
// the way Windows keeps a file with the read-only attribute.
int ReplaceRefusal(const std::string& target, const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return EISDIR;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
  if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

std::string FolderOf(const std::string& file) {
  std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return file.substr(0, slash);
}

// A missing folder is refused as the target's own creation would be; any
// other refusal is the folder's, and the message names it.
CreateError TempFileFailure(const std::u16string& path, int error) {
  if (error == ENOENT) return CreateFailure(path, error);
  std::u16string folder = FromUtf8(FolderOf(ToUtf8(AbsolutePath(path))));
  return CreateError(u"Cannot create a temporary file in the folder \"" + folder + u"\". " +
                     SystemErrorText(error));
}

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The new content's file, beside the target so that rename() replaces the
// target in one step. Removed again unless it took the target's place.
class TempFile {
 public:
  TempFile(const std::u16string& path, const std::string& target)
      : name_(target + ".kelvane-XXXXXX"), file_(mkstemp(&name_[0])) {
    if (!file_.ok()) throw TempFileFailure(path, errno);
  }
  ~TempFile() {
    file_.Close();
    if (!committed_) unlink(name_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Owner first: changing it clears set-user-ID bits that the mode restores.
  // Only root may give a file away; anyone else keeps the new file as their
  // own, with the target's permission bits all the same.
  void TakeOwnerAndMode(const struct stat* target) {
    if (target == nullptr) {
      fchmod(file_.get(), NewFileMode());
      return;
    }
    bool same_owner = fchown(file_.get(), target->st_uid, target->st_gid) == 0;
    (void)same_owner;
    fchmod(file_.get(), target->st_mode & 07777);
  }

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      ssize_t count =
          write(file_.get(), bytes.data(), std::min<std::size_t>(bytes.size(), 1 << 30));
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) throw WriteFailure();
      bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    if (fsync(file_.get()) != 0 || !file_.Close()) throw WriteFailure();
  }

  void Commit(const std::u16string& path, const std::string& target) {
    if (rename(name_.c_str(), target.c_str()) != 0) throw CreateFailure(path, errno);
    committed_ = true;
  }

 private:
  std::string name_;
  FileDescriptor file_;
  bool committed_ = false;
};

// Makes the rename itself survive a power cut. Too late to fail by now: the
// new content is in place either way.
void SyncFolder(const std::string& target) {
  FileDescriptor folder(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.ok()) fsync(folder.get());
}

class PosixFileSystem : public FileSystem {
 public:
  // No process is kept from writing the file meanwhile: POSIX has no
  // sharing modes, and nothing on this platform writes bar files alongside.
  std::string ReadFile(const std::u16string& path) override {
    std::string bytes;
    const int error = ReadAll(path, bytes);
    if (error != 0) throw OpenFailure(path, error);
    return bytes;
  }

  std::optional<std::string> ReadFileIfReadable(const std::u16string& path,
                                                std::u16string& failure) override {
    std::string bytes;
    const int error = ReadAll(path, bytes);
    if (error == 0) return bytes;
    if (error != ENOENT) failure = SystemErrorText(error);
    return std::nullopt;
  }

  void ReplaceFile(const std::u16string& path, std::string_view bytes) override {
    std::string target = NativePath(path);
    struct stat info;
    bool exists = stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) throw CreateFailure(path, errno);
    if (exists) {
      int refusal = ReplaceRefusal(target, info);
      if (refusal != 0) throw CreateFailure(path, refusal);
    }
    TempFile temp(path, target);
    temp.TakeOwnerAndMode(exists ? &info : nullptr);
    temp.Write(bytes);
    temp.Commit(path, target);
    SyncFolder(target);
  }

  std::u16string FullPath(const std::u16string& path) override { return AbsolutePath(path); }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

}  // namespace bar
