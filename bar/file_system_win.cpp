// Files through the Win32 calls. Paths reach the system in their full form,
// with the \\?\ prefix once they are too long for the plain one; messages
// show them without it.

#include "bar/file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "bar/errors.h"
#include "bar/file_handle_win.h"
#include "bar/system_error_win.h"
#include "bar/wide_win.h"

// <windows.h> maps ReplaceFile to ReplaceFileW, which would rename the
// interface's method in this file.
#undef ReplaceFile

namespace bar {
namespace {

// Beyond this length a plain path may fail in the file calls; the temporary
// file's name adds a few characters, hence the margin below MAX_PATH.
constexpr std::size_t kLongPath = MAX_PATH - 40;

// A replace that meets the target open in another process (the file manager
// reading its bar, a virus scanner, a second run of this program) tries
// again for about a second, and so does a read that meets a replace.
constexpr int kAttempts = 20;
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

CreateError CreateFailure(const std::wstring& full, DWORD error) {
  return CreateError(u"Cannot create file \"" + FromWide(full) + u"\". " + SystemErrorText(error));
}

// A missing folder is refused as the target's own creation would be; any
// other refusal is the folder's, and the message names it.
CreateError TempFileFailure(const std::wstring& full, DWORD error) {
  if (error == ERROR_PATH_NOT_FOUND) return CreateFailure(full, error);
  return CreateError(u"Cannot create a temporary file in the folder \"" + FromWide(FolderOf(full)) +
                     u"\". " + SystemErrorText(error));
}

// The file opened for a read. Others may read it, and rename or delete it,
// so that a read never makes another run's replace fail (the read still
// sees the whole old file); nobody may write into it meanwhile, so that a
// read never sees half a file. Held by another process's replace or write,
// the open is tried again, as long as a replace would try.
HANDLE OpenForReading(const std::wstring& full) {
  for (int attempt = 1;; ++attempt) {
    HANDLE file =
        CreateFileW(SystemPath(full).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
        attempt == kAttempts) {
      SetLastError(error);
      return INVALID_HANDLE_VALUE;
    }
    Sleep(kRetryMilliseconds);
  }
}

// One buffer of the file's size, instead of one regrown and copied as it
// fills.
std::string ReadAll(const std::wstring& full, HANDLE file) {
  LARGE_INTEGER size;
  std::string bytes;
  if (GetFileSizeEx(file, &size) != 0) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
      throw OpenFailure(full, GetLastError());
    }
    if (count == 0) return bytes;
    bytes.append(buffer, count);
  }
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

// Wine's ReplaceFileW moves the target aside before the new file takes its
// place, so a crash in between would leave no bar at all, and a failed call
// leaves a file of its own in the folder. Its rename is one step.
bool ReplaceFileServes(DWORD target_attributes) {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return target_attributes != INVALID_FILE_ATTRIBUTES && !wine;
}

// ReplaceFileW says ERROR_UNABLE_TO_REMOVE_REPLACED where the target cannot
// be opened for the replace, which is what a reader's handle causes.
bool HeldByAnotherProcess(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// The new content's file, beside the target (its name is the target's plus
// a suffix), deleted again unless it took the target's place.
class TempFile {
 public:
  TempFile(const std::wstring& full, DWORD attributes) : file_(INVALID_HANDLE_VALUE) {
    static unsigned counter = 0;
    std::wstring stem = full + L".kelvane-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
      name_ = stem + std::to_wstring(counter++) + L".tmp";
      file_.Reset(CreateFileW(SystemPath(name_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              attributes, nullptr));
      if (file_.ok()) return;
      error = GetLastError();
    }
    throw TempFileFailure(full, error);
  }
  ~TempFile() {
    file_.Close();
    if (!committed_) DeleteFileW(SystemPath(name_).c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
        throw WriteError(u"Stream write error");
      }
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(file_.get()) || !file_.Close()) throw WriteError(u"Stream write error");
  }

  // With replace_file, the target is replaced by ReplaceFileW, which gives
  // the new file what a rename would lose: the target's security
  // descriptor, owner, creation time and named streams. Where that call
  // fails for another reason than a holder (a file system without these),
  // the rename replaces the target in the same single step without them.
  // While another process holds the target, both are tried again; the last
  // try is always the rename's, so the reason reported does not depend on
  // the call used.
  void Commit(const std::wstring& full, bool replace_file) {
    for (int attempt = 1;; ++attempt) {
      bool last = attempt == kAttempts;
      if (replace_file && !last) {
        DWORD error = ReplaceTarget(full);
        if (error == ERROR_SUCCESS) break;
        if (!HeldByAnotherProcess(error)) replace_file = false;
      }
      if (!replace_file || last) {
        DWORD error = MoveOverTarget(full);
        if (error == ERROR_SUCCESS) break;
        if (!HeldByAnotherProcess(error) || last) throw CreateFailure(full, error);
      }
      Sleep(kRetryMilliseconds);
    }
    committed_ = true;
  }

 private:
  DWORD ReplaceTarget(const std::wstring& full) const {
    DWORD flags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    if (ReplaceFileW(SystemPath(full).c_str(), SystemPath(name_).c_str(), nullptr, flags, nullptr,
                     nullptr)) {
      return ERROR_SUCCESS;
    }
    return GetLastError();
  }

  DWORD MoveOverTarget(const std::wstring& full) const {
    DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(SystemPath(name_).c_str(), SystemPath(full).c_str(), flags)) {
      return ERROR_SUCCESS;
    }
    return GetLastError();
  }

  std::wstring name_;
  FileHandle file_;
  bool committed_ = false;
};

class WindowsFileSystem : public FileSystem {
 public:
  std::string ReadFile(const std::u16string& path) override {
    std::wstring full = AbsolutePath(path);
    FileHandle file(OpenForReading(full));
    if (!file.ok()) throw OpenFailure(full, GetLastError());
    return ReadAll(full, file.get());
  }

  std::optional<std::string> ReadFileIfExists(const std::u16string& path) override {
    std::wstring full = AbsolutePath(path);
    FileHandle file(OpenForReading(full));
    if (!file.ok()) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
      throw OpenFailure(full, error);
    }
    return ReadAll(full, file.get());
  }

  void ReplaceFile(const std::u16string& path, std::string_view bytes) override {
    std::wstring full = AbsolutePath(path);
    DWORD attributes = GetFileAttributesW(SystemPath(full).c_str());
    CheckReplaceable(full, attributes, GetLastError());
    TempFile temp(full, KeptAttributes(attributes));
    temp.Write(bytes);
    temp.Commit(full, ReplaceFileServes(attributes));
  }

  std::u16string FullPath(const std::u16string& path) override {
    return FromWide(AbsolutePath(path));
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static WindowsFileSystem file_system;
  return file_system;
}

}  // namespace bar
