#include "bar/toggle.h"

#include "bar/collapse.h"
#include "bar/expand.h"

namespace bar {

ToggleAction RunToggle(Toggle& t) {
  t.main_bar.Clear();
  t.main_bar.LoadFromFile(t.MainBarFile(), t.files);
  const ToggleAction action = DecideToggle(t.main_bar, t.par);
  if (action == ToggleAction::kExpand) Add(t);
  if (action == ToggleAction::kCollapse) Remove(t);
  return action;
}

std::u16string SettingPath(const std::u16string& program_folder, const std::u16string& setting) {
  const bool drive =
      setting.size() >= 3 && setting[1] == u':' && setting[2] == u'\\' &&
      ((setting[0] >= u'A' && setting[0] <= u'Z') || (setting[0] >= u'a' && setting[0] <= u'z'));
  const bool share = setting.rfind(u"\\\\", 0) == 0;
  return drive || share ? setting : program_folder + setting;
}

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

std::u16string Refusal(const Toggle& t, std::u16string_view operation) {
  return u"Cannot " + std::u16string(operation) + u" " + Quoted(t.files.FullPath(t.SubBarFile())) +
         u": ";
}

std::u16string MainBarName(const Toggle& t) {
  return u"the main bar " + Quoted(t.files.FullPath(t.MainBarFile()));
}

void NotifyFileManager(const Toggle& t) {
  if (!t.send_tc_command) return;
  t.send_tc_command(kReloadBarCommand);
  t.send_tc_command(kReloadBarCommand);
}

}  // namespace bar
