#include "app/process_win.h"

#include <windows.h>

#include "app/app_title.h"
#include "app/control_text_win.h"
#include "app/paths.h"
#include "app/settings_win.h"
#include "bar/command_line.h"
#include "bar/path_form.h"

namespace app {

namespace {

// Long-path aware systems hand out paths beyond MAX_PATH; a short buffer
// would be cut silently (the call then returns the buffer's size).
constexpr DWORD kLongestPath = 32768;

void PlatformLowerCase(std::u16string& text) {
  if (text.empty()) return;
  std::wstring wide = ToWide(text);
  CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  text = FromWide(wide);
}

}  // namespace

std::u16string ExePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return std::u16string();
    if (length < size || size >= kLongestPath) {
      buffer.resize(length < size ? length : size);
      return FromWide(buffer);
    }
    buffer.resize(static_cast<std::size_t>(size) * 2);
  }
}

std::u16string CommandLine() { return FromWide(GetCommandLineW()); }

std::u16string ParamStr(int index) {
  if (index == 0) return ExePath();
  return bar::CommandLineToken(CommandLine(), index);
}

std::u16string ProgramFolder() { return ExtractFilePath(bar::WithoutLongPrefix(ParamStr(0))); }

std::u16string LongPathName(const std::u16string& path) {
  std::wstring given = ToWide(path);
  DWORD size = GetLongPathNameW(given.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring long_name(size, L'\0');
  DWORD length = GetLongPathNameW(given.c_str(), long_name.data(), size);
  if (length == 0 || length >= size) return path;
  long_name.resize(length);
  return FromWide(long_name);
}

std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) {
  const std::wstring wide_name = ToWide(name);
  DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  // The value may change between the two calls; a second size is asked for.
  while (size != 0) {
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
    if (length < size) {
      value.resize(length);
      return FromWide(value);
    }
    size = length;
  }
  return std::nullopt;
}

Surroundings SystemSurroundings() {
  Surroundings around;
  around.program_folder = ProgramFolder();
  around.environment = EnvironmentVariable;
  around.exists = [](const std::u16string& path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  around.read_ini = ReadIniValue;
  return around;
}

const std::u16string& ProgramTitle() {
  static const std::u16string title = ApplicationTitle(ExePath(), PlatformLowerCase);
  return title;
}

}  // namespace app
