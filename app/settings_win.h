// The settings file kelvane.ini beside the executable: section "Main", keys
// "pathBar" (the bar folder), "pathMainPanel" (the main bar file) and
// "pathVerticalPanel" (the vertical bar file, empty for none), each relative
// to the program folder or a full path. Read and written through the
// platform's profile functions.
#ifndef KELVANE_APP_SETTINGS_WIN_H_
#define KELVANE_APP_SETTINGS_WIN_H_

#include <string>
#include <utility>

namespace app {

constexpr char16_t kSettingsSection[] = u"Main";
constexpr char16_t kPathBarKey[] = u"pathBar";
constexpr char16_t kPathBarDefault[] = u"Bar";
constexpr char16_t kPathMainPanelKey[] = u"pathMainPanel";
constexpr char16_t kPathMainPanelDefault[] = u"Bar\\000_Osnovnaja.bar";
constexpr char16_t kPathVerticalPanelKey[] = u"pathVerticalPanel";
constexpr char16_t kPathVerticalPanelDefault[] = u"";

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

  // The value of key in section, or default_value when the file, the
  // section or the key is absent; at most 2047 characters. Never fails and
  // never creates the file.
  std::u16string ReadString(const std::u16string& section, const std::u16string& key,
                            const std::u16string& default_value) const;

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

struct PathSettings {
  std::u16string path_bar;
  std::u16string path_main_panel;
  std::u16string path_vertical_panel;
};

// The three keys with their defaults.
PathSettings ReadPathSettings(const IniFile& ini);

// pathBar, pathMainPanel, then pathVerticalPanel, each by its own write; a
// failed write leaves the later ones unattempted.
void WritePathSettings(IniFile& ini, const PathSettings& settings);

}  // namespace app

#endif  // KELVANE_APP_SETTINGS_WIN_H_
