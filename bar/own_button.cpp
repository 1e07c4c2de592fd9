#include "bar/own_button.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "bar/command_line.h"
#include "bar/entry_key.h"
#include "bar/file_name.h"
#include "bar/strings.h"

namespace bar {

namespace {

// The text after the last "\", "/" or ":", quotes dropped: no file name
// holds a quote, so dropping every one cannot make another file's name match.
std::u16string FileNameOf(std::u16string_view path) {
  std::u16string file(path);
  file.erase(std::remove(file.begin(), file.end(), u'"'), file.end());
  const std::size_t last = file.find_last_of(u"\\/:");
  if (last != std::u16string::npos) file.erase(0, last + 1);
  return std::u16string(TrimBlanks(file));
}

// "<path>,1" or "<path>,2" with a path that names the program: the unfold
// or the fold icon the program carries, whatever it was renamed to.
bool IsStateIcon(std::u16string_view icon, const Program& program) {
  if (icon.size() < 2 || icon[icon.size() - 2] != u',') return false;
  const char16_t index = icon.back();
  return (index == u'1' || index == u'2') && NamesProgram(icon.substr(0, icon.size() - 2), program);
}

// The numbers of the own buttons for the sub-bar.
std::unordered_set<int32_t> ButtonsFor(const LineList& plain_bar, std::u16string_view sub_bar,
                                       const Program& program) {
  const std::u16string name = ExpandVariables(sub_bar, program.environment);
  std::unordered_set<int32_t> numbers;
  for (const OwnButton& button : FindOwnButtons(plain_bar, program)) {
    if (button.sub_bar == name) numbers.insert(button.number);
  }
  return numbers;
}

}  // namespace

bool NamesProgram(std::u16string_view path, const Program& program) {
  if (program.file_name.empty()) return false;
  std::u16string file = FileNameOf(path);
  // Variables before the last separator cannot change the file name, and
  // most commands ("%COMMANDER_PATH%\Tools\x.exe") are decided without
  // asking the environment.
  if (file.find(u'%') != std::u16string::npos) {
    file = FileNameOf(ExpandVariables(path, program.environment));
  }
  return SameFileName(file, std::u16string(program.file_name));
}

std::u16string SubBarOfParameters(std::u16string_view parameters, const Environment& environment) {
  return ExpandVariables(ReadArguments(std::u16string(parameters)).sub_bar, environment);
}

std::vector<OwnButton> FindOwnButtons(const LineList& plain_bar, const Program& program) {
  std::vector<OwnButton> buttons;
  if (program.file_name.empty()) return buttons;
  std::unordered_map<int32_t, std::u16string_view> parameters;
  std::unordered_set<int32_t> commanded;
  std::vector<KeyedLine> commands;
  for (int32_t i = 2; i < plain_bar.Count(); ++i) {
    const std::u16string_view line = plain_bar.Get(i);
    if (const std::optional<KeyedLine> param = ReadKeyedLine(line, u"param", KeyMatch::kLoose)) {
      parameters.emplace(param->number, param->value);
    } else if (const std::optional<KeyedLine> cmd = ReadKeyedLine(line, u"cmd", KeyMatch::kLoose)) {
      if (commanded.insert(cmd->number).second) commands.push_back(*cmd);
    }
  }
  for (const KeyedLine& cmd : commands) {
    const auto param = parameters.find(cmd.number);
    if (param == parameters.end() || !NamesProgram(cmd.value, program)) continue;
    std::u16string sub_bar = SubBarOfParameters(param->second, program.environment);
    if (!sub_bar.empty()) buttons.push_back({cmd.number, std::move(sub_bar)});
  }
  return buttons;
}

void ShowState(LineList& plain_bar, std::u16string_view sub_bar, bool unfolded,
               const Program& program) {
  const std::unordered_set<int32_t> numbers = ButtonsFor(plain_bar, sub_bar, program);
  if (numbers.empty()) return;
  const char16_t state = unfolded ? u'2' : u'1';
  for (int32_t i = 2; i < plain_bar.Count(); ++i) {
    const std::u16string_view line = plain_bar.Get(i);
    const std::optional<KeyedLine> button = ReadKeyedLine(line, u"button", KeyMatch::kLoose);
    if (!button || numbers.count(button->number) == 0) continue;
    if (!IsStateIcon(button->value, program)) continue;
    // The loose reading's value is a view into the line: its last
    // character is the icon's index, whatever blanks follow it.
    const std::size_t index =
        static_cast<std::size_t>(button->value.data() - line.data()) + button->value.size() - 1;
    if (line[index] == state) continue;
    std::u16string shown(line);
    shown[index] = state;
    plain_bar.Put(i, shown);
  }
}

}  // namespace bar
