#include "app/setting_defaults.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "bar/unicode.h"

namespace app {
namespace {

using IniValues =
    std::map<std::tuple<std::u16string, std::u16string, std::u16string>, std::u16string>;

// Kelvane in C:\K\, the file manager in C:\tc with its settings in C:\ini.
const std::map<std::u16string, std::u16string> kFromFileManager = {
    {u"COMMANDER_PATH", u"C:\\tc"}, {u"COMMANDER_INI", u"C:\\ini\\wincmd.ini"}};
const std::map<std::u16string, std::u16string> kByHand = {{u"APPDATA", u"C:\\roaming"}};

TEST(SettingDefaultsTest, MissingKeysMeanTheDefaultsBesideTheProgramElseTheFileManagersBar) {
  const struct {
    const char* name;
    StoredSettings stored;
    std::map<std::u16string, std::u16string> environment;
    std::set<std::u16string> existing;
    IniValues ini;
    const char16_t* main_bar;
    const char16_t* bar_folder;
  } cases[] = {
      {"stored_keys_stand",
       {u"B", u"", u"v.bar"},
       kFromFileManager,
       {u"C:\\ini\\wincmd.ini"},
       {{{u"C:\\ini\\wincmd.ini", u"Buttonbar", u"Buttonbar"}, u"C:\\tc\\x.bar"}},
       u"",
       u"B"},
      {"defaults_beside_the_program",
       {},
       kFromFileManager,
       {u"C:\\K\\Bar", u"C:\\K\\Bar\\000_Osnovnaja.bar", u"C:\\ini\\wincmd.ini"},
       {{{u"C:\\ini\\wincmd.ini", u"Buttonbar", u"Buttonbar"}, u"C:\\tc\\x.bar"}},
       u"Bar\\000_Osnovnaja.bar",
       u"Bar"},
      {"nothing_anywhere", {}, {}, {}, {}, u"Bar\\000_Osnovnaja.bar", u"Bar"},
      {"buttonbar_key",
       {},
       kFromFileManager,
       {u"C:\\ini\\wincmd.ini"},
       {{{u"C:\\ini\\wincmd.ini", u"Buttonbar", u"Buttonbar"}, u"%COMMANDER_PATH%\\DEFAULT.BAR"}},
       u"%COMMANDER_PATH%\\DEFAULT.BAR",
       u"%COMMANDER_PATH%"},
      {"variable_not_set_in_this_run",
       {},
       {{u"COMMANDER_INI", u"C:\\ini\\wincmd.ini"}},
       {u"C:\\ini\\wincmd.ini"},
       {{{u"C:\\ini\\wincmd.ini", u"Buttonbar", u"Buttonbar"}, u"%COMMANDER_PATH%\\DEFAULT.BAR"}},
       u"%COMMANDER_PATH%\\DEFAULT.BAR",
       u"%COMMANDER_PATH%"},
      {"relative_buttonbar_key",
       {},
       kFromFileManager,
       {u"C:\\ini\\wincmd.ini"},
       {{{u"C:\\ini\\wincmd.ini", u"Buttonbar", u"Buttonbar"}, u"my.bar"}},
       u"%COMMANDER_PATH%\\my.bar",
       u"%COMMANDER_PATH%"},
      {"unreadable_wincmd_ini", {}, kFromFileManager, {}, {}, u"Bar\\000_Osnovnaja.bar", u"Bar"},
      {"default_bar_without_key",
       {},
       kFromFileManager,
       {u"C:\\ini\\wincmd.ini"},
       {},
       u"%COMMANDER_PATH%\\DEFAULT.BAR",
       u"%COMMANDER_PATH%"},
      {"redirected_copy",
       {},
       kFromFileManager,
       {u"C:\\ini\\wincmd.ini", u"C:\\ini\\wincmd.ini\\..\\DEFAULT.BAR"},
       {},
       u"%COMMANDER_INI%\\..\\DEFAULT.BAR",
       u"%COMMANDER_INI%\\.."},
      {"copy_but_redirect_0",
       {},
       kFromFileManager,
       {u"C:\\ini\\wincmd.ini", u"C:\\ini\\wincmd.ini\\..\\DEFAULT.BAR"},
       {{{u"C:\\tc\\DEFAULT.BAR", u"options", u"redirect"}, u"0"}},
       u"%COMMANDER_PATH%\\DEFAULT.BAR",
       u"%COMMANDER_PATH%"},
      {"appdata_wincmd_ini",
       {u"Mine", std::nullopt, std::nullopt},
       kByHand,
       {u"C:\\roaming\\GHISLER\\wincmd.ini"},
       {{{u"C:\\roaming\\GHISLER\\wincmd.ini", u"Buttonbar", u"Buttonbar"}, u"D:\\Bars\\main.bar"}},
       u"D:\\Bars\\main.bar",
       u"Mine"},
      {"appdata_copy",
       {},
       kByHand,
       {u"C:\\roaming\\GHISLER\\wincmd.ini", u"C:\\roaming\\GHISLER\\DEFAULT.BAR"},
       {},
       u"%APPDATA%\\GHISLER\\DEFAULT.BAR",
       u"%APPDATA%\\GHISLER"},
      {"stored_main_bar_gives_the_folder",
       {std::nullopt, u"C:\\Bars\\m.bar", std::nullopt},
       {},
       {},
       {},
       u"C:\\Bars\\m.bar",
       u"C:\\Bars"},
      {"main_bar_in_a_drive_root",
       {std::nullopt, u"D:/m.bar", std::nullopt},
       {},
       {},
       {},
       u"D:/m.bar",
       u"D:/"},
      {"main_bar_in_the_program_folder",
       {std::nullopt, u"m.bar", std::nullopt},
       {},
       {},
       {},
       u"m.bar",
       u"."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Surroundings around;
    around.program_folder = u"C:\\K\\";
    around.environment = [&c](std::u16string_view name) -> std::optional<std::u16string> {
      const auto found = c.environment.find(std::u16string(name));
      if (found == c.environment.end()) return std::nullopt;
      return found->second;
    };
    around.exists = [&c](const std::u16string& path) { return c.existing.count(path) != 0; };
    around.read_ini = [&c](const std::u16string& file, std::u16string_view section,
                           std::u16string_view key) -> std::optional<std::u16string> {
      const auto found = c.ini.find({file, std::u16string(section), std::u16string(key)});
      if (found == c.ini.end()) return std::nullopt;
      return found->second;
    };
    const PathSettings settings = ResolvePathSettings(c.stored, around);
    EXPECT_EQ(bar::ToUtf8(settings.path_main_panel), bar::ToUtf8(c.main_bar));
    EXPECT_EQ(bar::ToUtf8(settings.path_bar), bar::ToUtf8(c.bar_folder));
    EXPECT_EQ(settings.path_vertical_panel, c.stored.path_vertical_panel.value_or(u""));
  }
}

}  // namespace
}  // namespace app
