// Splitting the command line the way the program has always split it
// (not the C runtime's rules: a backslash is an ordinary character), and a
// button's parameters the same way, since they become that command line.
#ifndef KELVANE_BAR_COMMAND_LINE_H_
#define KELVANE_BAR_COMMAND_LINE_H_

#include <string>

namespace bar {

// Token `index` of the command line: 0 is the program's name as written,
// 1 the first argument. Blanks and control characters (codes 1 to 32)
// separate tokens; a pair of double quotes before a token is skipped; a
// double quote opens a stretch that runs to the next one or to the end, its
// blanks included and its quotes dropped. An empty token ends the scan:
// it and every later index give "".
std::u16string CommandLineToken(const std::u16string& command_line, int index);

// A toggle's arguments: the sub-bar's name is the first argument that is
// not the switch "/vertical" (in any letter case), "" without one; vertical
// tells whether the switch is among the arguments. Others are ignored.
struct ToggleArguments {
  std::u16string sub_bar;
  bool vertical = false;
};
ToggleArguments ReadToggleArguments(const std::u16string& command_line);

// The same for arguments without the program's name in front: a button's
// parameters ("tools.bar /vertical").
ToggleArguments ReadArguments(const std::u16string& arguments);

}  // namespace bar

#endif  // KELVANE_BAR_COMMAND_LINE_H_
