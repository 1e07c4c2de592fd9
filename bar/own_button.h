// Kelvane's own buttons: the entries of a bar that run this program for a
// sub-bar ("cmd<n>=C:\Tools\kelvane.exe", "param<n>=tools.bar"), and the
// unfold and fold icons they may show ("button<n>=...\kelvane.exe,1" and
// ",2"). Every other line of a bar stays opaque here.
#ifndef KELVANE_BAR_OWN_BUTTON_H_
#define KELVANE_BAR_OWN_BUTTON_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bar/environment.h"
#include "bar/line_list.h"

namespace bar {

// How this program is named in a bar: its file name ("" names nothing) and
// the variables paths and parameters are expanded with.
struct Program {
  std::u16string_view file_name;
  const Environment& environment;
};

// A path, "%NAME%" expanded and quotes dropped (the file manager writes
// `"C:\Program Files\..."` and doubled quotes), whose file name, after the
// last "\", "/" or ":", is the program's in any letter case (SameFileName).
bool NamesProgram(std::u16string_view path, const Program& program);

// The sub-bar a button's parameters name: the name ReadArguments takes from
// them, "/vertical" or not, with "%NAME%" expanded; "" for none.
std::u16string SubBarOfParameters(std::u16string_view parameters, const Environment& environment);

// An entry whose cmd line NamesProgram and whose param line names a
// sub-bar, both read loosely (ReadKeyedLine): its number and that sub-bar.
struct OwnButton {
  int32_t number;
  std::u16string sub_bar;  // expanded
};

// The own buttons among the lines of a plain bar from index 2 on, in the
// order of their cmd lines; the first cmd or param line of a number counts.
std::vector<OwnButton> FindOwnButtons(const LineList& plain_bar, const Program& program);

// Makes the own buttons for `sub_bar` (as a marker spells it, expanded
// before comparing) show whether it is unfolded: a button line whose value
// is a path that NamesProgram followed by ",1" or ",2" gets ",2" while
// unfolded, ",1" once folded. Nothing else changes.
void ShowState(LineList& plain_bar, std::u16string_view sub_bar, bool unfolded,
               const Program& program);

}  // namespace bar

#endif  // KELVANE_BAR_OWN_BUTTON_H_
