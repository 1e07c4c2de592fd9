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
