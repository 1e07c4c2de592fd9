#include "app/setting_defaults.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "bar/unicode.h"

namespace app {
namespace {

// Kelvane in C:\K\; the file manager's settings in one of several places.
const std::set<std::u16string> kFiles = {u"C:\\ini\\key.ini",
                                         u"C:\\ini\\rel.ini",
                                         u"C:\\ini\\nokey.ini",
                                         u"C:\\copy\\wc.ini",
                                         u"C:\\copy\\wc.ini\\..\\DEFAULT.BAR",
                                         u"C:\\roaming\\GHISLER\\wincmd.ini"};
// The values read, by file and key.
const std::map<std::u16string, std::u16string> kValues = {
    {u"C:\\ini\\key.ini|Buttonbar", u"%COMMANDER_PATH%\\DEFAULT.BAR"},
    {u"C:\\ini\\rel.ini|Buttonbar", u"my.bar"},
    {u"C:\\roaming\\GHISLER\\wincmd.ini|Buttonbar", u"D:\\Bars\\main.bar"},
    {u"C:\\tc0\\DEFAULT.BAR|redirect", u"0"}};

TEST(SettingDefaultsTest, MissingKeysMeanTheDefaultsBesideTheProgramElseTheFileManagersBar) {
  using Set = std::optional<std::u16string>;
  const Set none;
  const struct {
    const char* name;
    StoredSettings stored;
    const char16_t *commander_path, *commander_ini, *appdata;
    bool defaults_beside;
    const char16_t *main_bar, *bar_folder;
  } cases[] = {
      // clang-format off
      {"stored", {u"B", u"", u"v.bar"}, u"C:\\tc", u"C:\\ini\\key.ini", nullptr, true, u"", u"B"},
      {"beside", {}, u"C:\\tc", u"C:\\ini\\key.ini", nullptr, true, u"Bar\\000_Osnovnaja.bar", u"Bar"},
      {"nothing", {}, nullptr, nullptr, nullptr, false, u"Bar\\000_Osnovnaja.bar", u"Bar"},
      {"key", {}, u"C:\\tc", u"C:\\ini\\key.ini", nullptr, false,
       u"%COMMANDER_PATH%\\DEFAULT.BAR", u"%COMMANDER_PATH%"},
      {"key_unset_variable", {}, nullptr, u"C:\\ini\\key.ini", nullptr, false,
       u"%COMMANDER_PATH%\\DEFAULT.BAR", u"%COMMANDER_PATH%"},
      {"relative_key", {}, u"C:\\tc", u"C:\\ini\\rel.ini", nullptr, false,
       u"%COMMANDER_PATH%\\my.bar", u"%COMMANDER_PATH%"},
      {"unreadable", {}, u"C:\\tc", u"C:\\ini\\gone.ini", u"C:\\roaming", false,
       u"Bar\\000_Osnovnaja.bar", u"Bar"},
      {"no_key", {}, u"C:\\tc", u"C:\\ini\\nokey.ini", nullptr, false,
       u"%COMMANDER_PATH%\\DEFAULT.BAR", u"%COMMANDER_PATH%"},
      {"copy", {}, u"C:\\tc", u"C:\\copy\\wc.ini", nullptr, false,
       u"%COMMANDER_INI%\\..\\DEFAULT.BAR", u"%COMMANDER_INI%\\.."},
      {"copy_redirect_0", {}, u"C:\\tc0", u"C:\\copy\\wc.ini", nullptr, false,
       u"%COMMANDER_PATH%\\DEFAULT.BAR", u"%COMMANDER_PATH%"},
      {"appdata", {u"Mine", none, none}, nullptr, nullptr, u"C:\\roaming", false,
       u"D:\\Bars\\main.bar", u"Mine"},
      {"folder_of_stored", {none, u"C:\\Bars\\m.bar", none}, nullptr, nullptr, nullptr, false,
       u"C:\\Bars\\m.bar", u"C:\\Bars"},
      {"drive_root", {none, u"D:/m.bar", none}, nullptr, nullptr, nullptr, false, u"D:/m.bar", u"D:/"},
      {"no_folder", {none, u"m.bar", none}, nullptr, nullptr, nullptr, false, u"m.bar", u"."},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Surroundings around;
    around.program_folder = u"C:\\K\\";
    around.environment = [&c](std::u16string_view name) -> Set {
      const char16_t* value = name == u"COMMANDER_PATH"  ? c.commander_path
                              : name == u"COMMANDER_INI" ? c.commander_ini
                              : name == u"APPDATA"       ? c.appdata
                                                         : nullptr;
      return value ? Set(value) : Set();
    };
    around.exists = [&c](const std::u16string& path) {
      return kFiles.count(path) != 0 ||
             (c.defaults_beside &&
              (path == u"C:\\K\\Bar" || path == u"C:\\K\\Bar\\000_Osnovnaja.bar"));
    };
    around.read_ini = [](const std::u16string& file, std::u16string_view,
                         std::u16string_view key) -> Set {
      const auto value = kValues.find(file + u"|" + std::u16string(key));
      return value == kValues.end() ? Set() : Set(value->second);
    };
    const PathSettings settings = ResolvePathSettings(c.stored, around);
    EXPECT_EQ(bar::ToUtf8(settings.path_main_panel), bar::ToUtf8(c.main_bar));
    EXPECT_EQ(bar::ToUtf8(settings.path_bar), bar::ToUtf8(c.bar_folder));
    EXPECT_EQ(settings.path_vertical_panel, c.stored.path_vertical_panel.value_or(u""));
  }
}

}  // namespace
}  // namespace app
