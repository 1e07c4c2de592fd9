#include "app/settings_win.h"

#include <windows.h>

#include <string>

#include "app/app_errors.h"
#include "app/control_text_win.h"

namespace app {

namespace {

// The profile functions cut a value to the buffer less its terminating NUL.
constexpr DWORD kValueBufferSize = 2048;

// Writing to a file that does not exist makes the profile functions create
// it in the ANSI code page, where a Cyrillic folder name on a Western
// system turns into question marks. A file that starts with the UTF-16
// mark is kept in UTF-16 by them instead. CREATE_NEW never touches an
// existing file; a failure here is left to the write to report. True when
// the file was started here.
bool StartAsUtf16IfMissing(const std::wstring& file_name) {
  HANDLE file = CreateFileW(file_name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  static const unsigned char kUtf16LeMark[] = {0xFF, 0xFE};
  DWORD written = 0;
  BOOL ok = WriteFile(file, kUtf16LeMark, sizeof kUtf16LeMark, &written, nullptr);
  CloseHandle(file);
  if (ok && written == sizeof kUtf16LeMark) return true;
  DeleteFileW(file_name.c_str());
  return false;
}

}  // namespace

std::u16string SettingsFilePath(const std::u16string& program_folder) {
  return program_folder + u"kelvane.ini";
}

IniFile::~IniFile() {
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, ToWide(file_name_).c_str());
}

namespace {

std::u16string ReadProfileString(const std::u16string& file, std::u16string_view section,
                                 std::u16string_view key, std::u16string_view default_value) {
  std::wstring buffer(kValueBufferSize, L'\0');
  DWORD length = GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                          ToWide(default_value).c_str(), buffer.data(),
                                          kValueBufferSize, ToWide(file).c_str());
  buffer.resize(length < kValueBufferSize ? length : kValueBufferSize - 1);
  return FromWide(buffer);
}

}  // namespace

std::optional<std::u16string> IniFile::Read(std::u16string_view section,
                                            std::u16string_view key) const {
  return ReadIniValue(file_name_, section, key);
}

// The profile functions give the default for an absent key and tell no
// more; a key that is there cannot give both of two different defaults.
std::optional<std::u16string> ReadIniValue(const std::u16string& file, std::u16string_view section,
                                           std::u16string_view key) {
  std::u16string value = ReadProfileString(file, section, key, u"0");
  if (value == u"0" && ReadProfileString(file, section, key, u"1") == u"1") return std::nullopt;
  return value;
}

void IniFile::WriteString(const std::u16string& section, const std::u16string& key,
                          const std::u16string& value) {
  std::wstring file_name = ToWide(file_name_);
  bool started = StartAsUtf16IfMissing(file_name);
  if (WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                 ToWide(value).c_str(), file_name.c_str())) {
    return;
  }
  if (started) DeleteFileW(file_name.c_str());
  throw EIniFileException(u"Unable to write to " + file_name_);
}

StoredSettings ReadStoredSettings(const IniFile& ini) {
  return StoredSettings{ini.Read(kSettingsSection, kPathBarKey),
                        ini.Read(kSettingsSection, kPathMainPanelKey),
                        ini.Read(kSettingsSection, kPathVerticalPanelKey)};
}

void WritePathSettings(IniFile& ini, const PathSettings& settings) {
  ini.WriteString(kSettingsSection, kPathBarKey, settings.path_bar);
  ini.WriteString(kSettingsSection, kPathMainPanelKey, settings.path_main_panel);
  ini.WriteString(kSettingsSection, kPathVerticalPanelKey, settings.path_vertical_panel);
}

}  // namespace app
