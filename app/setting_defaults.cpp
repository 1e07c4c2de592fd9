#include "app/setting_defaults.h"

#include "bar/path_form.h"

namespace app {

namespace {

constexpr char16_t kDefaultBar[] = u"DEFAULT.BAR";

// The settings file of the file manager, as a path and as the text that
// names its folder in a setting ("%COMMANDER_INI%\.." keeps working when
// the file manager's settings move, as its own buttons write it).
struct FileManagerIni {
  std::u16string file;
  std::u16string folder_text;
};

std::optional<FileManagerIni> FindFileManagerIni(const Surroundings& around) {
  const bar::Environment& environment = around.environment;
  if (std::optional<std::u16string> ini =
          environment ? environment(u"COMMANDER_INI") : std::nullopt) {
    if (!around.exists(*ini)) return std::nullopt;
    return FileManagerIni{*ini, u"%COMMANDER_INI%\\.."};
  }
  const std::u16string folder_text = u"%APPDATA%\\GHISLER";
  const std::u16string file = bar::ExpandVariables(folder_text + u"\\wincmd.ini", environment);
  if (!bar::IsFullPath(file) || !around.exists(file)) return std::nullopt;
  return FileManagerIni{file, folder_text};
}

// The text up to its last separator, which a drive's root keeps ("C:\");
// "." for a file in the program folder.
std::u16string FolderText(const std::u16string& path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  if (separator == std::u16string::npos) return u".";
  const bool drive_root = separator == 2 && path[1] == u':';
  return path.substr(0, drive_root ? separator + 1 : separator);
}

}  // namespace

std::optional<std::u16string> FileManagerMainBar(const Surroundings& around) {
  const std::optional<FileManagerIni> ini = FindFileManagerIni(around);
  if (!ini) return std::nullopt;
  const bar::Environment& environment = around.environment;
  const std::optional<std::u16string> button_bar =
      around.read_ini(ini->file, u"Buttonbar", u"Buttonbar");
  // Its own folder is where the file manager looks for a bar named without
  // one; a path that starts with a variable is taken to be full, also where
  // the variable is not set in this run.
  if (button_bar && !button_bar->empty()) {
    const bool full = button_bar->front() == u'%' ||
                      bar::IsFullPath(bar::ExpandVariables(*button_bar, environment));
    return full ? *button_bar : u"%COMMANDER_PATH%\\" + *button_bar;
  }
  const std::u16string original = u"%COMMANDER_PATH%\\" + std::u16string(kDefaultBar);
  const std::u16string copy = ini->folder_text + u"\\" + kDefaultBar;
  if (!around.exists(bar::ExpandVariables(copy, environment))) return original;
  const std::optional<std::u16string> redirect =
      around.read_ini(bar::ExpandVariables(original, environment), u"options", u"redirect");
  return redirect == u"0" ? original : copy;
}

PathSettings ResolvePathSettings(const StoredSettings& stored, const Surroundings& around) {
  PathSettings settings;
  const std::u16string& program = around.program_folder;
  if (stored.path_main_panel) {
    settings.path_main_panel = *stored.path_main_panel;
  } else if (around.exists(program + kPathMainPanelDefault)) {
    settings.path_main_panel = kPathMainPanelDefault;
  } else {
    settings.path_main_panel = FileManagerMainBar(around).value_or(kPathMainPanelDefault);
  }
  if (stored.path_bar) {
    settings.path_bar = *stored.path_bar;
  } else if (around.exists(program + kPathBarDefault)) {
    settings.path_bar = kPathBarDefault;
  } else {
    settings.path_bar = FolderText(settings.path_main_panel);
  }
  settings.path_vertical_panel = stored.path_vertical_panel.value_or(kPathVerticalPanelDefault);
  return settings;
}

}  // namespace app
