// Files through the Win32 calls. Paths reach the system in their full form,
// with the \\?\ prefix once they are too long for the plain one; messages
// show them without it.

#include "bar/file_system_win.h"

#include <algorithm>
#include <string>
#include <utility>

#include "bar/errors.h"
#include "bar/file_handle_win.h"
#include "bar/file_name.h"
#include "bar/path_form.h"
#include "bar/system_error_win.h"
#include "bar/wide_win.h"

namespace bar {
namespace {

// Beyond this length a plain path may fail in the file calls; the temporary
// file's name adds a few characters, hence the margin below MAX_PATH.
constexpr std::size_t kLongPath = MAX_PATH - 40;

// A replace that meets the target open in another process (the file manager
// reading its bar, a virus scanner, a second run of this program) tries
// again for about two seconds, and so does a read that meets a replace, a
// write or a locked range. Runs started by a double click wait for each
// other's reads and saves in turn, and on a busy machine a turn comes late.
constexpr int kAttempts = 40;
constexpr DWORD kRetryMilliseconds = 50;

// The first call asks for the size: a full path may exceed MAX_PATH.
std::wstring AbsolutePath(const std::u16string& path) {
  std::wstring given = ToWide(path);
  DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (size == 0) return given;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(given.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return given;
  full.resize(length);
  return full;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

// The form of a full path that the file calls accept at any length.
std::wstring SystemPath(const std::wstring& full) {
  if (full.size() < kLongPath || StartsWith(full, L"\\\\?\\")) return full;
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The file a full path finally names, every symbolic link and junction on
// the way followed; the path itself where it names no file yet or the
// system cannot tell. A save that replaced a link by a plain file would
// leave the file it points to (in a synced or versioned folder) with the
// old bar, which the next sync brings back.
std::wstring FinalPath(const std::wstring& full) {
  FileHandle file(CreateFileW(SystemPath(full).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.ok()) return full;
  const DWORD size = GetFinalPathNameByHandleW(file.get(), nullptr, 0, FILE_NAME_NORMALIZED);
  if (size == 0) return full;
  std::wstring final_path(size, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file.get(), &final_path[0], size, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= size) return full;
  final_path.resize(length);
  // The same name in the system's own letter case is kept as given, so
  // that messages read as they always have.
  const std::wstring target = ToWide(WithoutLongPrefix(FromWide(final_path)));
  return SameFileName(FromWide(target), FromWide(full)) ? full : target;
}

// The folder part of a full path; a drive's root keeps its "\".
std::wstring FolderOf(const std::wstring& full) {
  std::size_t separator = full.rfind(L'\\');
  if (separator == std::wstring::npos) return full;
  std::wstring folder = full.substr(0, separator);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder;
}

OpenError OpenFailure(const std::wstring& full, DWORD error) {
  return OpenError(u"Cannot open file \"" + FromWide(full) + u"\". " + SystemErrorText(error));
}

std::u16string CreateFailureText(const std::wstring& full, DWORD error) {
  return u"Cannot create file \"" + FromWide(full) + u"\". " + SystemErrorText(error);
}

CreateError CreateFailure(const std::wstring& full, DWORD error) {
  return CreateError(CreateFailureText(full, error));
}

// A missing folder is refused as the bar's own creation would be; any
// other refusal is that of the folder the file was tried in, and the message
// names it: behind a link, the folder of the file it points to.
CreateError TempFileFailure(const std::wstring& shown, const std::wstring& target, DWORD error) {
  if (error == ERROR_PATH_NOT_FOUND) return CreateFailure(shown, error);
  return CreateError(u"Cannot create a temporary file in the folder \"" +
                     FromWide(FolderOf(target)) + u"\". " + SystemErrorText(error));
}

// The attributes that describe the file rather than its content; the new
// content's file is created with them, so the replace keeps them.
DWORD KeptAttributes(DWORD target) {
  if (target == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_NORMAL;
  DWORD kept = target & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  return kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept;
}

// MoveFileExW fails on a read-only target under Windows, but Wine replaces
// it; checking first gives the same refusal everywhere, before any write.
// Opening a folder as a file fails with "access denied", and so does this.
void CheckReplaceable(const std::wstring& full, DWORD attributes, DWORD error) {
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (error != ERROR_FILE_NOT_FOUND) throw CreateFailure(full, error);
    return;
  }
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    throw CreateFailure(full, ERROR_ACCESS_DENIED);
  }
}

// ReplaceFileW says ERROR_UNABLE_TO_REMOVE_REPLACED where the target cannot
// be opened for the replace, which is what a reader's handle causes.
bool HeldByAnotherProcess(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

bool HoldsFile(const std::wstring& full) {
  const DWORD attributes = GetFileAttributesW(SystemPath(full).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ReplaceFileW can fail half-way: after ERROR_UNABLE_TO_MOVE_REPLACEMENT the
// target is deleted, after ..._2 it lies under another name, and on a file
// system where a delete waits for the last handle other failures may leave
// it pending or gone. Unless its name is seen holding a file, it is lost.
bool TargetLost(const std::wstring& full, DWORD error) {
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    return true;
  }
  return !HoldsFile(full);
}

// A file system without a flush of its own (some network redirectors and
// RAM disks) says so: the bytes are then as safe as it keeps them, and the
// save goes on.
bool Flushed(BOOL flushed) {
  const DWORD error = flushed ? ERROR_SUCCESS : GetLastError();
  return error == ERROR_SUCCESS || error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
}

// The new content's file, beside the target (its name is the target's plus
// a suffix), deleted again unless it took the target's place or may hold
// the only copy of the bar. `shown` is the bar as messages name it, the path
// that was given; `target` the file it finally names (FinalPath).
class TempFile {
 public:
  TempFile(const WindowsFileCalls& calls, const std::wstring& shown, const std::wstring& target,
           DWORD attributes)
      : calls_(calls), shown_(shown), target_(target), file_(INVALID_HANDLE_VALUE) {
    static unsigned counter = 0;
    std::wstring stem = target + L".kelvane-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
      name_ = stem + std::to_wstring(counter++) + L".tmp";
      file_.Reset(
          calls_.create(SystemPath(name_).c_str(), GENERIC_WRITE, 0, CREATE_NEW, attributes));
      if (file_.ok()) return;
      error = GetLastError();
    }
    throw TempFileFailure(shown, target, error);
  }
  ~TempFile() {
    file_.Close();
    if (!keep_) calls_.remove(SystemPath(name_).c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!calls_.write(file_.get(), bytes.data(), chunk, &written) || written == 0) {
        throw WriteError(u"Stream write error");
      }
      bytes.remove_prefix(written);
    }
    if (!Flushed(calls_.flush(file_.get())) || !file_.Close()) {
      throw WriteError(u"Stream write error");
    }
  }

  // With replace_file, the target is replaced by ReplaceFileW, which gives
  // the new file what a rename would lose: the target's security
  // descriptor, owner, creation time and named streams. Where that call
  // fails for another reason than a holder (a file system without these),
  // the rename replaces the target in the same single step without them.
  // While another process holds the target, both are tried again; the last
  // try is always the rename's, so the reason reported does not depend on
  // the call used.
  void Commit(bool replace_file) {
    for (int attempt = 1;; ++attempt) {
      const bool last = attempt == kAttempts;
      if (replace_file && !last) {
        const DWORD error = Replace();
        if (error == ERROR_SUCCESS) break;
        if (TargetLost(target_, error)) return PutInPlace();
        if (!HeldByAnotherProcess(error)) replace_file = false;
      }
      if (!replace_file || last) {
        const DWORD error = Move();
        if (error == ERROR_SUCCESS) break;
        if (!HeldByAnotherProcess(error) || last) throw Refused(error);
      }
      calls_.sleep(kRetryMilliseconds);
    }
    keep_ = true;
  }

 private:
  // The target's name holds no bar, and this file the only copy of one: it
  // is renamed into place for as long as a holder would be waited for,
  // whatever the refusal.
  void PutInPlace() {
    DWORD error = Move();
    for (int attempt = 2; attempt <= kAttempts && error != ERROR_SUCCESS; ++attempt) {
      calls_.sleep(kRetryMilliseconds);
      error = Move();
    }
    if (error != ERROR_SUCCESS) throw Refused(error);
    keep_ = true;
  }

  // The save did not take place. A rename that fails may still have taken
  // the target away (a redirector that replaces by deleting first): unless
  // the bar's name is seen holding a file, this file stays, named in the
  // report, as it may hold the only copy of the bar.
  CreateError Refused(DWORD error) {
    const std::u16string text = CreateFailureText(shown_, error);
    if (HoldsFile(target_)) return CreateError(text);
    keep_ = true;
    return CreateError(text + u". Its new content is in \"" + FromWide(name_) + u"\"");
  }

  DWORD Replace() const {
    if (calls_.replace(SystemPath(target_).c_str(), SystemPath(name_).c_str())) {
      return ERROR_SUCCESS;
    }
    return GetLastError();
  }

  DWORD Move() const {
    if (calls_.move(SystemPath(name_).c_str(), SystemPath(target_).c_str())) return ERROR_SUCCESS;
    return GetLastError();
  }

  const WindowsFileCalls& calls_;
  const std::wstring shown_;
  const std::wstring target_;
  std::wstring name_;
  FileHandle file_;
  bool keep_ = false;
};

class WindowsFileSystem : public FileSystem {
 public:
  explicit WindowsFileSystem(WindowsFileCalls calls) : calls_(std::move(calls)) {}

  std::string ReadFile(const std::u16string& path) override {
    std::wstring full = AbsolutePath(path);
    std::string bytes;
    const DWORD error = ReadWaiting(full, bytes);
    if (error != ERROR_SUCCESS) throw OpenFailure(full, error);
    return bytes;
  }

  std::optional<std::string> ReadFileIfReadable(const std::u16string& path,
                                                std::u16string& failure) override {
    std::string bytes;
    const DWORD error = ReadWaiting(AbsolutePath(path), bytes);
    if (error == ERROR_SUCCESS) return bytes;
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      failure = SystemErrorText(error);
    }
    return std::nullopt;
  }

  // A bar reached through a link is saved where the link points, and the
  // link stays as it was; messages name the bar by the path given. A hard
  // link is a name like any other: the replace gives that name the new file,
  // and the bar's other names keep the old one.
  void ReplaceFile(const std::u16string& path, std::string_view bytes) override {
    const std::wstring shown = AbsolutePath(path);
    const std::wstring target = FinalPath(shown);
    DWORD attributes = GetFileAttributesW(SystemPath(target).c_str());
    CheckReplaceable(shown, attributes, GetLastError());
    TempFile temp(calls_, shown, target, KeptAttributes(attributes));
    temp.Write(bytes);
    temp.Commit(attributes != INVALID_FILE_ATTRIBUTES && calls_.replace);
  }

  std::u16string FullPath(const std::u16string& path) override {
    return FromWide(AbsolutePath(path));
  }

 private:
  // Another process's replace or write holds the file, or a range of it is
  // locked: the whole read is tried again, as long as a replace would try.
  DWORD ReadWaiting(const std::wstring& full, std::string& bytes) const {
    for (int attempt = 1;; ++attempt) {
      const DWORD error = ReadOnce(full, bytes);
      const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
      if (!busy || attempt == kAttempts) return error;
      calls_.sleep(kRetryMilliseconds);
    }
  }

  // Others may read the file meanwhile, but neither write it, so that a read
  // never sees half a file, nor rename or delete it: where a delete waits
  // for the last handle, a replace let in would stop half-way and leave the
  // bar's name empty. One buffer of the file's size takes the bytes, instead
  // of one regrown and copied as it fills.
  DWORD ReadOnce(const std::wstring& full, std::string& bytes) const {
    FileHandle file(calls_.create(SystemPath(full).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file.ok()) return GetLastError();
    bytes.clear();
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.get(), &size) != 0) {
      bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[65536];
    for (;;) {
      DWORD count = 0;
      if (!calls_.read(file.get(), buffer, sizeof buffer, &count)) return GetLastError();
      if (count == 0) return ERROR_SUCCESS;
      bytes.append(buffer, count);
    }
  }

  WindowsFileCalls calls_;
};

// Wine's ReplaceFileW moves the target aside before the new file takes its
// place, so a crash in between would leave no bar at all, and a failed call
// leaves a file of its own in the folder. Its rename is one step.
bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

BOOL ReplaceWithoutBackup(const wchar_t* replaced, const wchar_t* replacement) {
  return ReplaceFileW(replaced, replacement, nullptr,
                      REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                      nullptr);
}

}  // namespace

WindowsFileCalls SystemFileCalls() {
  WindowsFileCalls calls;
  calls.create = [](const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                    DWORD attributes) {
    return CreateFileW(path, access, share, nullptr, disposition, attributes, nullptr);
  };
  calls.read = [](HANDLE file, void* buffer, DWORD size, DWORD* count) {
    return ::ReadFile(file, buffer, size, count, nullptr);
  };
  calls.write = [](HANDLE file, const void* bytes, DWORD size, DWORD* count) {
    return WriteFile(file, bytes, size, count, nullptr);
  };
  calls.flush = FlushFileBuffers;
  if (!RunningUnderWine()) calls.replace = ReplaceWithoutBackup;
  calls.move = [](const wchar_t* from, const wchar_t* to) {
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  };
  calls.remove = DeleteFileW;
  calls.sleep = Sleep;
  return calls;
}

std::unique_ptr<FileSystem> MakeWindowsFileSystem(WindowsFileCalls calls) {
  return std::make_unique<WindowsFileSystem>(std::move(calls));
}

FileSystem& PlatformFileSystem() {
  static WindowsFileSystem file_system(SystemFileCalls());
  return file_system;
}

}  // namespace bar
