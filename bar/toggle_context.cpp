#include "bar/toggle_context.h"

namespace bar {

std::u16string SettingPath(const std::u16string& program_folder, const std::u16string& setting) {
  return IsFullPath(setting) ? setting : program_folder + setting;
}

std::u16string Toggle::SubBarFileOf(std::u16string_view name) const {
  std::u16string file = ExpandVariables(name, environment);
  if (IsFullPath(file)) return file;
  return PathOf(bar_folder) + u"\\" + file;
}

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

std::u16string Refusal(const Toggle& t, std::u16string_view operation) {
  return u"Cannot " + std::u16string(operation) + u" " + Quoted(t.files.FullPath(t.SubBarFile())) +
         u": ";
}

std::u16string BarTitle(bool vertical) { return vertical ? u"the vertical bar" : u"the main bar"; }

namespace {

std::u16string NameOf(const Toggle& t, bool vertical, const std::u16string& file) {
  return BarTitle(vertical) + u" " + Quoted(t.files.FullPath(file));
}

}  // namespace

std::u16string BarName(const Toggle& t) { return NameOf(t, t.vertical, t.BarFile()); }

std::u16string OtherBarName(const Toggle& t) { return NameOf(t, !t.vertical, t.OtherBarFile()); }

void NotifyFileManager(const Toggle& t) {
  if (!t.send_tc_command) return;
  const int32_t command = t.vertical ? kReloadVerticalBarCommand : kReloadBarCommand;
  t.send_tc_command(command);
  t.send_tc_command(command);
}

}  // namespace bar
