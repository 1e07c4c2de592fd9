#include "bar/own_button.h"

#include <gtest/gtest.h>

#include "bar/unicode.h"

namespace bar {
namespace {

// One entry of a bar whose icon is the unfold icon: after ShowState for the
// sub-bar `shown_for`, unfolded, its button line is `icon_after`.
TEST(OwnButtonTest, ReadsCommandParametersAndIcon) {
  const struct {
    const char16_t* cmd;
    const char16_t* param;
    const char16_t* shown_for;
    const char16_t* icon_after;  // the value of button1=C:\K\kelvane.exe,1, or as given
    const char16_t* icon = u"C:\\K\\kelvane.exe,1";
  } cases[] = {
      {u"cmd1=C:\\Tools\\kelvane.exe", u"param1=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,2"},
      {u"cmd1=\"C:\\Program Files\\K\\KELVANE.EXE\"", u"param1=\"my tools.bar\" /vertical",
       u"my tools.bar", u"C:\\K\\kelvane.exe,2"},
      {u"cmd1=\"\"D:\\a b\\Kelvane.exe\"\"", u"param1=/VERTICAL tools.bar", u"tools.bar",
       u"C:\\K\\kelvane.exe,2"},
      {u"cmd1=C:/Tools/kelvane.exe", u"param1=%BARS%\\net.bar", u"C:\\Bars\\net.bar",
       u"C:\\K\\kelvane.exe,2"},
      {u"cmd1=%KELVANE%", u"param1=C:\\Bars\\net.bar", u"%BARS%\\net.bar", u"C:\\K\\kelvane.exe,2"},
      {u" Cmd1 = kelvane.exe ", u"PARAM1 = tools.bar ", u"tools.bar", u"C:\\K\\kelvane.exe,2"},
      {u"cmd1=kelvane.exe", u"param1=tools.bar", u"tools.bar", u"%COMMANDER_PATH%\\KELVANE.EXE,2",
       u"%COMMANDER_PATH%\\KELVANE.EXE,1"},
      {u"cmd1=kelvane.exe", u"param1=tools.bar", u"tools.bar", u"kelvane.exe,2", u"kelvane.exe,2"},
      // Other icons, other sub-bars and other programs stay as they are.
      {u"cmd1=kelvane.exe", u"param1=tools.bar", u"tools.bar", u"kelvane.exe,0", u"kelvane.exe,0"},
      {u"cmd1=kelvane.exe", u"param1=tools.bar", u"tools.bar", u"wcmicons.dll,1",
       u"wcmicons.dll,1"},
      {u"cmd1=kelvane.exe", u"param1=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,12",
       u"C:\\K\\kelvane.exe,12"},
      {u"cmd1=kelvane.exe", u"param1=Tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=kelvane.exe", u"param1=tools.bar2", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=kelvane.exe", u"param1=Bar\\tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=kelvane.exe", u"param1=/vertical", u"/vertical", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=kelvane.exe", u"param2=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=kelvane.exe.bak", u"param1=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=notkelvane.exe", u"param1=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=C:\\kelvane.exe\\run.exe", u"param1=tools.bar", u"tools.bar",
       u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=kelvane.exe tools.bar", u"param1=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
      {u"cmd1=-2", u"param1=tools.bar", u"tools.bar", u"C:\\K\\kelvane.exe,1"},
  };
  const Environment environment = [](std::u16string_view name) -> std::optional<std::u16string> {
    if (name == u"BARS") return u"C:\\Bars";
    if (name == u"KELVANE") return u"C:\\K\\kelvane.exe";
    return std::nullopt;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(std::u16string(c.cmd) + u" " + c.param + u" " + c.icon));
    LineList bar;
    for (const std::u16string& line :
         {std::u16string(u"[Buttonbar]"), std::u16string(u"Buttoncount=1"),
          u"button1=" + std::u16string(c.icon), std::u16string(c.cmd), std::u16string(c.param)}) {
      bar.Add(line);
    }
    ShowState(bar, c.shown_for, true, Program{u"kelvane.exe", environment});
    EXPECT_EQ(ToUtf8(bar.Get(2)), ToUtf8(u"button1=" + std::u16string(c.icon_after)));
  }
}

}  // namespace
}  // namespace bar
