#include "tests/e2e/program_folder.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/build_paths.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

std::wstring FreshFolderName() {
  static std::atomic<unsigned> counter{0};
  return L"kelvane e2e " + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++);
}

}  // namespace

ProgramFolder::ProgramFolder(const std::wstring& exe_name) {
  wchar_t temp[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, temp) == 0) throw std::runtime_error("no temp folder");
  dir_ = std::wstring(temp) + FreshFolderName() + L"\\";
  exe_ = dir_ + exe_name;
  fs::create_directories(dir_);
  if (!CopyFileW(KelvaneExe().c_str(), exe_.c_str(), TRUE)) {
    throw std::runtime_error("cannot copy " + Utf8(KelvaneExe()) + " (build the kelvane target)");
  }
}

ProgramFolder::~ProgramFolder() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void ProgramFolder::Write(const std::wstring& relative, const std::string& bytes) const {
  const fs::path file(Path(relative));
  fs::create_directories(file.parent_path());
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + Utf8(file));
  DWORD written = 0;
  const BOOL ok =
      WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(handle);
  if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + Utf8(file));
}

std::optional<std::string> ProgramFolder::Read(const std::wstring& relative) const {
  return ReadFileBytes(Path(relative));
}

std::map<std::wstring, std::string> ProgramFolder::Snapshot() const {
  std::map<std::wstring, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
    if (!entry.is_regular_file() || entry.path() == fs::path(exe_)) continue;
    const std::wstring relative = entry.path().wstring().substr(dir_.size());
    files[relative] = ReadFileBytes(entry.path().wstring()).value_or("<unreadable>");
  }
  return files;
}

void ProgramFolder::WriteSettings(const std::wstring& path_bar, const std::wstring& path_main_panel,
                                  const std::wstring& path_vertical_panel) const {
  std::string ini =
      "[Main]\r\npathBar=" + Utf8(path_bar) + "\r\npathMainPanel=" + Utf8(path_main_panel) + "\r\n";
  if (!path_vertical_panel.empty())
    ini += "pathVerticalPanel=" + Utf8(path_vertical_panel) + "\r\n";
  Write(L"kelvane.ini", ini);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(handle, buffer, sizeof buffer, &read, nullptr)) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(handle);
  if (!ok) return std::nullopt;
  return bytes;
}

}  // namespace e2e
