#include "bar/marker.h"

#include <algorithm>
#include <unordered_set>

#include "bar/bar_parts.h"
#include "bar/entry_key.h"
#include "bar/file_name.h"
#include "bar/strings.h"

namespace bar {

namespace {

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A marker's button value: some sub-bar's name followed by "x1".
bool IsMarkerValue(std::u16string_view value) { return value.size() > 2 && EndsWith(value, u"x1"); }

// The value is MarkerText(par).
bool IsMarkerTextOf(std::u16string_view value, std::u16string_view par) {
  return value.size() == par.size() + 2 && value.substr(0, par.size()) == par &&
         EndsWith(value, u"x1");
}

// The numbers above `above` of the cmd lines from index `first` on, read
// loosely: every one, and those of line breaks ("-2").
struct CmdNumbers {
  std::unordered_set<int32_t> all;
  std::unordered_set<int32_t> line_breaks;
};

CmdNumbers ReadCmdNumbers(const LineList& list, int32_t first, int64_t above) {
  CmdNumbers numbers;
  for (int32_t i = first; i < list.Count(); ++i) {
    const std::optional<KeyedLine> cmd = ReadKeyedLine(list.Get(i), u"cmd", KeyMatch::kLoose);
    if (!cmd || cmd->number <= above) continue;
    numbers.all.insert(cmd->number);
    if (cmd->value == u"-2") numbers.line_breaks.insert(cmd->number);
  }
  return numbers;
}

// A button line, read loosely, numbered above `above`, whose value reads as
// a marker's.
std::optional<KeyedLine> MarkerButton(std::u16string_view line, int64_t above) {
  const std::optional<KeyedLine> button = ReadKeyedLine(line, u"button", KeyMatch::kLoose);
  if (!button || button->number <= above || !IsMarkerValue(button->value)) return std::nullopt;
  return button;
}

}  // namespace

std::u16string MarkerText(std::u16string_view par) { return std::u16string(par) + u"x1"; }

std::vector<std::u16string> MarkerEntry(int32_t m, std::u16string_view par) {
  const std::u16string n = IntToStr(m);
  return {u"button" + n + u"=" + MarkerText(par), u"cmd" + n + u"=-2", u"iconic" + n + u"=0"};
}

bool IsMarkerLine(std::u16string_view line, std::u16string_view par) {
  const std::optional<KeyedLine> button = ReadKeyedLine(line, u"button", KeyMatch::kExact);
  return button && IsMarkerTextOf(button->value, par);
}

BlockMarkers FindBlockMarkers(const LineList& list, int32_t first, int64_t above) {
  const CmdNumbers cmds = ReadCmdNumbers(list, first, above);
  BlockMarkers markers;
  std::optional<int32_t> doubtful_number;
  for (int32_t i = first; i < list.Count(); ++i) {
    const std::optional<KeyedLine> button = MarkerButton(list.Get(i), above);
    if (!button) continue;
    if (cmds.line_breaks.count(button->number) != 0) {
      if (!markers.lowest || button->number < *markers.lowest) markers.lowest = button->number;
    } else if (cmds.all.count(button->number) == 0) {
      if (!doubtful_number || button->number < *doubtful_number) {
        doubtful_number = button->number;
        markers.doubtful = list.Get(i);
      }
    }
  }
  if (doubtful_number && markers.lowest && *doubtful_number > *markers.lowest) {
    markers.doubtful.reset();
  }
  return markers;
}

std::vector<BlockMarker> AllBlockMarkers(const LineList& list, int32_t first) {
  const CmdNumbers cmds = ReadCmdNumbers(list, first, -1);
  std::vector<BlockMarker> markers;
  for (int32_t i = first; i < list.Count(); ++i) {
    const std::u16string_view line = list.Get(i);
    const std::optional<KeyedLine> button = MarkerButton(line, -1);
    if (!button || cmds.line_breaks.count(button->number) == 0) continue;
    std::u16string name(button->value.substr(0, button->value.size() - 2));
    const bool exact = IsMarkerLine(line, name);
    markers.push_back({button->number, std::move(name), exact});
  }
  std::sort(markers.begin(), markers.end(),
            [](const BlockMarker& a, const BlockMarker& b) { return a.number < b.number; });
  return markers;
}

namespace {

// A button line, read loosely, whose value is MarkerText of a name the file
// system takes for the sub-bar's.
bool ReadsAsMarkerLine(std::u16string_view line, const std::u16string& marker_text) {
  const std::optional<KeyedLine> button = ReadKeyedLine(line, u"button", KeyMatch::kLoose);
  // Names of another length are never the same (file_name.h).
  if (!button || button->value.size() != marker_text.size()) return false;
  return SameFileName(std::u16string(button->value), marker_text);
}

}  // namespace

std::optional<std::u16string> UnfoldedSpelling(const LineList& plain_bar, std::u16string_view par) {
  const std::u16string marker_text = MarkerText(par);
  for (std::u16string_view line : plain_bar.views()) {
    if (ReadsAsMarkerLine(line, marker_text) && !IsMarkerLine(line, par)) {
      return std::u16string(line);
    }
  }
  return std::nullopt;
}

bool HoldsUnfolded(const std::vector<std::u16string_view>& lines, std::u16string_view par) {
  const std::optional<SectionRange> section = FindButtonSection(lines);
  if (!section) return false;
  const std::u16string marker_text = MarkerText(par);
  for (int32_t i = section->header + 1; i < section->end; ++i) {
    if (ReadsAsMarkerLine(lines[i], marker_text)) return true;
  }
  return false;
}

ToggleAction DecideToggle(const LineList& main_bar, std::u16string_view par) {
  if (main_bar.Count() == 0) return ToggleAction::kNothing;
  const std::vector<std::u16string_view>& lines = main_bar.views();
  const std::optional<SectionRange> section = FindButtonSection(lines);
  if (!section) return ToggleAction::kExpand;
  for (int32_t i = section->header + 1; i < section->end; ++i) {
    if (IsMarkerLine(lines[i], par)) return ToggleAction::kCollapse;
  }
  return ToggleAction::kExpand;
}

}  // namespace bar
