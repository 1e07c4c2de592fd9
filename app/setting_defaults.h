// The three paths of kelvane.ini, with what a key it lacks means: the
// program's own default where that is there beside it, else the bar the
// file manager shows. Portable: everything it looks at comes in through
// Surroundings.
#ifndef KELVANE_APP_SETTING_DEFAULTS_H_
#define KELVANE_APP_SETTING_DEFAULTS_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "bar/environment.h"

namespace app {

constexpr char16_t kPathBarDefault[] = u"Bar";
constexpr char16_t kPathMainPanelDefault[] = u"Bar\\000_Osnovnaja.bar";
constexpr char16_t kPathVerticalPanelDefault[] = u"";

// The settings as the fields show them and a toggle composes its paths
// from: relative to the program folder or full, "%NAME%" unexpanded.
struct PathSettings {
  std::u16string path_bar;
  std::u16string path_main_panel;
  std::u16string path_vertical_panel;
};

// The keys kelvane.ini holds; nullopt for a key it lacks (an empty value
// is a value).
struct StoredSettings {
  std::optional<std::u16string> path_bar;
  std::optional<std::u16string> path_main_panel;
  std::optional<std::u16string> path_vertical_panel;
};

// What the defaults may look at.
struct Surroundings {
  std::u16string program_folder;  // ends in "\"
  bar::Environment environment;   // COMMANDER_PATH, COMMANDER_INI, APPDATA
  // A file or folder exists at this full path.
  std::function<bool(const std::u16string& path)> exists;
  // The value of `key` in `section` of an INI file, nullopt when the file
  // cannot be read or lacks the key.
  std::function<std::optional<std::u16string>(const std::u16string& file,
                                              std::u16string_view section, std::u16string_view key)>
      read_ini;
};

// Each stored key as it stands. A missing pathMainPanel is the default bar
// where that exists beside the program, else the file manager's main bar
// (FileManagerMainBar) where there is one, else the default. A missing
// pathBar is "Bar" where that exists beside the program, else the main
// bar's folder. A missing pathVerticalPanel is "": no vertical bar.
PathSettings ResolvePathSettings(const StoredSettings& stored, const Surroundings& around);

// The main bar the file manager shows, as its settings file wincmd.ini
// writes it: that file is the one COMMANDER_INI names, or without that
// variable %APPDATA%\GHISLER\wincmd.ini where it exists. Its key
// "Buttonbar" in section "Buttonbar" (a relative path lies in the file
// manager's folder, %COMMANDER_PATH%); without the key, its default bar
// %COMMANDER_PATH%\DEFAULT.BAR, or the copy beside wincmd.ini where the
// file manager keeps one, unless the default bar holds [options]
// redirect=0. nullopt without a readable wincmd.ini.
std::optional<std::u16string> FileManagerMainBar(const Surroundings& around);

}  // namespace app

#endif  // KELVANE_APP_SETTING_DEFAULTS_H_
