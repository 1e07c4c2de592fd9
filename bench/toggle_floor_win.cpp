// The least a safe toggle can do, as a Windows program: read both bars,
// save the main bar (as an expand does) or both bars (as a collapse does)
// through a temporary file that is flushed and then moved over the bar,
// look for the file manager's window and send it 2901 twice. The bars are
// Bar\main.bar and Bar\tools.bar in the program's folder, each written
// back with the bytes it holds, so that they stay as the toggles left them.
// It carries kelvane.exe's manifest (toggle_floor.rc): the system sets a
// program up by its manifest, and that is no part of a toggle's work.
// bench/wine_toggle_bench.sh starts it as a toggle is started, taking turns
// with the toggles:
//   toggle_floor.exe expand    after an expand
//   toggle_floor.exe collapse  after a collapse
#include <windows.h>

#include <string>

#include "bar/file_handle_win.h"

namespace {

using bar::FileHandle;

constexpr UINT kTcCommandMessage = WM_USER + 51;
constexpr WPARAM kReloadBarCommand = 2901;
constexpr UINT kTimeoutMs = 5000;

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

bool ReadBytes(const std::wstring& path, std::string* bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.ok() || !GetFileSizeEx(file.get(), &size)) return false;
  bytes->resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  return bytes->empty() ||
         (ReadFile(file.get(), &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
          read == bytes->size());
}

// As kelvane.exe saves: a new file beside the target, written, flushed,
// closed, and moved over the target in one step.
bool ReplaceBytes(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = path + L".floor.tmp";
  FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return false;
  DWORD written = 0;
  if (!bytes.empty() &&
      (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size())) {
    return false;
  }
  if (!FlushFileBuffers(file.get()) || !file.Close()) return false;
  return MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void NotifyFileManager() {
  HWND window = FindWindowW(L"TTOTAL_CMD", nullptr);
  if (window == nullptr) return;
  for (int k = 0; k < 2; ++k) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, kTcCommandMessage, kReloadBarCommand, 0,
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  const bool collapse = std::wstring(command_line) == L"collapse";
  const std::wstring bars = ProgramFolder() + L"Bar\\";
  std::string main_bar;
  std::string sub_bar;
  if (!ReadBytes(bars + L"main.bar", &main_bar) || !ReadBytes(bars + L"tools.bar", &sub_bar)) {
    return 1;
  }
  if (collapse && !ReplaceBytes(bars + L"tools.bar", sub_bar)) return 1;
  if (!ReplaceBytes(bars + L"main.bar", main_bar)) return 1;
  NotifyFileManager();
  return 0;
}
