// The settings file kelvane.ini beside the executable: section "Main", keys
// "pathBar" (the bar folder), "pathMainPanel" (the main bar file) and
// "pathVerticalPanel" (the vertical bar file, empty for none), each relative
// to the program folder or a full path. Read and written through the
// platform's profile functions.
#ifndef KELVANE_APP_SETTINGS_WIN_H_
#define KELVANE_APP_SETTINGS_WIN_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/setting_defaults.h"

namespace app {

constexpr char16_t kSettingsSection[] = u"Main";
constexpr char16_t kPathBarKey[] = u"pathBar";
constexpr char16_t kPathMainPanelKey[] = u"pathMainPanel";
constexpr char16_t kPathVerticalPanelKey[] = u"pathVerticalPanel";

// program_folder (ending in "\") + "kelvane.ini".
std::u16string SettingsFilePath(const std::u16string& program_folder);

// One settings file, open for a few reads or writes. Opening touches
// nothing; releasing asks the platform to flush its cached copy of the file.
class IniFile {
 public:
  explicit IniFile(std::u16string file_name) : file_name_(std::move(file_name)) {}
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::u16string& file_name() const { return file_name_; }

  // The value of key in section, at most 2047 characters; nullopt when
  // the file, the section or the key is absent. Never fails and never
  // creates the file.
  std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const;

  // Stores value for key in section. A file that does not exist yet is
  // started as UTF-16 (byte-order mark FF FE), so that no character of a
  // path is lost to the ANSI code page. Throws EIniFileException
  // "Unable to write to <file_name>" when the platform refuses (a file
  // started by this call is then removed again).
  void WriteString(const std::u16string& section, const std::u16string& key,
                   const std::u16string& value);

 private:
  std::u16string file_name_;
};

// The value of key in section of any INI file, read as IniFile::Read reads
// one; nothing is ever written to the file.
std::optional<std::u16string> ReadIniValue(const std::u16string& file, std::u16string_view section,
                                           std::u16string_view key);

// The three keys as the file holds them.
StoredSettings ReadStoredSettings(const IniFile& ini);

// pathBar, pathMainPanel, then pathVerticalPanel, each by its own write; a
// failed write leaves the later ones unattempted.
void WritePathSettings(IniFile& ini, const PathSettings& settings);

}  // namespace app

#endif  // KELVANE_APP_SETTINGS_WIN_H_
