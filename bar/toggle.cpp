#include "bar/toggle.h"

#include "bar/collapse.h"
#include "bar/errors.h"
#include "bar/expand.h"

namespace bar {

namespace {

[[noreturn]] void RefuseWithoutVerticalBar(const Toggle& t) {
  throw BarFormatError(Refusal(t, u"unfold or fold") +
                       u"no vertical bar is set; fill in \"Path To Vert. Bar\" in the "
                       u"settings window (pathVerticalPanel in kelvane.ini) first");
}

// Unfolded in both bars, the sub-bar would have two copies, each written
// back to its file when folded: the second fold would undo the edits made
// in the first. A file that is not there holds nothing.
void RefuseUnfoldedInOtherBar(const Toggle& t) {
  const std::u16string other_file = t.OtherBarFile();
  if (other_file.empty()) return;
  LineList other_bar;
  if (!other_bar.LoadFromFileIfExists(other_file, t.files)) return;
  if (DecideToggle(other_bar, t.par) != ToggleAction::kCollapse) return;
  throw BarFormatError(Refusal(t, u"expand") + OtherBarName(t) +
                       u" holds it unfolded; fold it there first");
}

}  // namespace

ToggleAction RunToggle(Toggle& t) {
  if (t.vertical && t.vertical_bar_path.empty()) RefuseWithoutVerticalBar(t);
  t.main_bar.Clear();
  t.main_bar.LoadFromFile(t.BarFile(), t.files);
  const ToggleAction action = DecideToggle(t.main_bar, t.par);
  if (action == ToggleAction::kExpand) {
    RefuseUnfoldedInOtherBar(t);
    Add(t);
  }
  if (action == ToggleAction::kCollapse) Remove(t);
  return action;
}

}  // namespace bar
