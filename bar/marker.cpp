#include "bar/marker.h"

#include <unordered_set>

#include "bar/strings.h"
#include "bar/toggle.h"

namespace bar {

namespace {

struct KeyedLine {
  int32_t number;
  std::u16string_view value;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A line whose key is `word` followed by decimal digits and nothing else:
// its number and the text after the first "=".
std::optional<KeyedLine> ReadKeyedLine(std::u16string_view line, std::u16string_view word) {
  if (line.substr(0, word.size()) != word) return std::nullopt;
  std::size_t end = word.size();
  while (end < line.size() && IsDigit(line[end])) ++end;
  if (end == word.size() || end == line.size() || line[end] != u'=') return std::nullopt;
  const std::optional<int32_t> number = NumberOf(line);
  if (!number) return std::nullopt;
  return KeyedLine{*number, line.substr(end + 1)};
}

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A marker's button value: some sub-bar's name followed by "x1".
bool IsMarkerValue(std::u16string_view value) {
  return value.size() > 2 && EndsWith(value, u"x1");
}

}  // namespace

std::u16string MarkerText(std::u16string_view par) { return std::u16string(par) + u"x1"; }

std::vector<std::u16string> MarkerEntry(int32_t m, std::u16string_view par) {
  const std::u16string n = IntToStr(m);
  return {u"button" + n + u"=" + MarkerText(par), u"cmd" + n + u"=-2", u"iconic" + n + u"=0"};
}

bool IsMarkerLine(std::u16string_view line, std::u16string_view par) {
  const std::optional<KeyedLine> button = ReadKeyedLine(line, u"button");
  return button && button->value == MarkerText(par);
}

std::optional<int32_t> LowestBlockMarker(const LineList& list, int32_t first,
                                         int64_t above) {
  std::unordered_set<int32_t> line_breaks;
  for (int32_t i = first; i < list.Count(); ++i) {
    const std::optional<KeyedLine> cmd = ReadKeyedLine(list.Get(i), u"cmd");
    if (cmd && cmd->number > above && cmd->value == u"-2") line_breaks.insert(cmd->number);
  }
  std::optional<int32_t> lowest;
  for (int32_t i = first; i < list.Count(); ++i) {
    const std::optional<KeyedLine> button = ReadKeyedLine(list.Get(i), u"button");
    if (!button || !IsMarkerValue(button->value)) continue;
    if (line_breaks.count(button->number) == 0) continue;
    if (!lowest || button->number < *lowest) lowest = button->number;
  }
  return lowest;
}

ToggleAction DecideToggle(const LineList& main_bar, std::u16string_view par) {
  if (main_bar.Count() == 0) return ToggleAction::kNothing;
  for (const std::u16string& line : main_bar.lines()) {
    if (IsMarkerLine(line, par)) return ToggleAction::kCollapse;
  }
  return ToggleAction::kExpand;
}

}  // namespace bar
