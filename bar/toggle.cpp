#include "bar/toggle.h"

#include "bar/bar_file.h"
#include "bar/collapse.h"
#include "bar/errors.h"
#include "bar/expand.h"

namespace bar {

namespace {

// A setting left empty names no bar; the toggle that needs it says which
// field to fill rather than open the program folder.
[[noreturn]] void RefuseWithoutBar(const Toggle& t) {
  struct Setting {
    const char16_t* bar;
    const char16_t* field;  // its label in the settings window
    const char16_t* key;
  };
  const Setting setting = t.vertical
                              ? Setting{u"vertical", u"Path To Vert. Bar", u"pathVerticalPanel"}
                              : Setting{u"main", u"Path To Main Bar", u"pathMainPanel"};
  throw BarFormatError(Refusal(t, u"unfold or fold") + u"no " + setting.bar +
                       u" bar is set; fill in " + Quoted(setting.field) +
                       u" in the settings window (" + setting.key + u" in kelvane.ini) first");
}

// Unfolded in both bars, the sub-bar would have two copies, each written
// back to its file when folded: the second fold would undo the edits made
// in the first. The other bar is only looked into, so it need not be a bar
// this program could save: any bytes do, and a file that is not there
// holds nothing. One that cannot be read might hold the sub-bar.
void RefuseUnfoldedInOtherBar(const Toggle& t) {
  const std::u16string other_file = t.OtherBarFile();
  if (other_file.empty()) return;
  std::u16string failure;
  const std::optional<std::string> bytes = t.files.ReadFileIfReadable(other_file, failure);
  if (!failure.empty()) {
    throw OpenError(Refusal(t, u"expand") + OtherBarName(t) +
                    u", which must not hold it unfolded, cannot be read: " + failure);
  }
  if (!bytes) return;
  const std::u16string text = DecodeBarFileLoosely(*bytes);
  if (!HoldsUnfolded(SplitLineViews(text), t.par)) return;
  throw BarFormatError(Refusal(t, u"expand") + OtherBarName(t) +
                       u" holds it unfolded; fold it there first");
}

}  // namespace

ToggleAction RunToggle(Toggle& t) {
  if (t.BarFile().empty()) RefuseWithoutBar(t);
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
