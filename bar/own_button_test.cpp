#include "bar/own_button.h"

#include <gtest/gtest.h>

#include "bar/unicode.h"

namespace bar {
namespace {

// Entry 1 with the icon, the command and the parameters: whether ShowState
// for the sub-bar "%BAR%" (tools.bar), unfolded, gives the icon ",2".
TEST(OwnButtonTest, ReadsCommandParametersAndIcon) {
  const char16_t* const kIcon = u"C:\\K\\kelvane.exe,1";
  const struct {
    const char16_t* cmd;
    const char16_t* param;
    const char16_t* icon;
    bool shows;
  } cases[] = {
      {u"C:\\Tools\\kelvane.exe", u"tools.bar", kIcon, true},
      {u"\"C:\\Program Files\\K\\KELVANE.EXE\"", u"\"tools.bar\" /vertical", kIcon, true},
      {u"\"\"D:\\a b\\Kelvane.exe\"\" ", u"/VERTICAL tools.bar", kIcon, true},
      {u"C:/Tools/kelvane.exe", u"%BAR%", kIcon, true},
      {u"%KELVANE%", u"tools.bar", u"%COMMANDER_PATH%\\KELVANE.EXE,1", true},
      {u"kelvane.exe", u"tools.bar", u"kelvane.exe,2", true},
      // Other icons, other sub-bars and other programs stay as they are.
      {u"kelvane.exe", u"tools.bar", u"kelvane.exe,0", false},
      {u"kelvane.exe", u"tools.bar", u"wcmicons.dll,1", false},
      {u"kelvane.exe", u"tools.bar", u"C:\\K\\kelvane.exe,12", false},
      {u"kelvane.exe", u"Tools.bar", kIcon, false},
      {u"kelvane.exe", u"tools.bar2", kIcon, false},
      {u"kelvane.exe", u"Bar\\tools.bar", kIcon, false},
      {u"kelvane.exe", u"/vertical", kIcon, false},
      {u"kelvane.exe.bak", u"tools.bar", kIcon, false},
      {u"notkelvane.exe", u"tools.bar", kIcon, false},
      {u"C:\\kelvane.exe\\run.exe", u"tools.bar", kIcon, false},
      {u"kelvane.exe tools.bar", u"tools.bar", kIcon, false},
      {u"-2", u"tools.bar", kIcon, false},
  };
  const Environment environment = [](std::u16string_view name) -> std::optional<std::u16string> {
    if (name == u"BAR") return u"tools.bar";
    if (name == u"KELVANE") return u"C:\\K\\kelvane.exe";
    return std::nullopt;
  };
  for (const auto& c : cases) {
    const std::u16string icon = u"button1=" + std::u16string(c.icon);
    SCOPED_TRACE(ToUtf8(icon + u" cmd1=" + c.cmd + u" param1=" + c.param));
    LineList bar;
    for (const std::u16string& line :
         {std::u16string(u"[Buttonbar]"), std::u16string(u"Buttoncount=1"), icon,
          u"cmd1=" + std::u16string(c.cmd), u"param1=" + std::u16string(c.param)}) {
      bar.Add(line);
    }
    ShowState(bar, u"%BAR%", true, Program{u"kelvane.exe", environment});
    EXPECT_EQ(ToUtf8(bar.Get(2)), ToUtf8(c.shows ? icon.substr(0, icon.size() - 1) + u"2" : icon));
  }
}

}  // namespace
}  // namespace bar
