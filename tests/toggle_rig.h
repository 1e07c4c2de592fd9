// A program folder in memory for the toggle's tests: the main bar at
// C:\tc\Bar\main.bar, sub-bars beside it, and the start-up sequence that
// loads the main bar, decides and runs the expand or the collapse.
//
//   testing_support::ToggleRig rig;
//   rig.SetMain({u"[Buttonbar]", u"Buttoncount=0"});
//   rig.SetSub(u"tools.bar", {u"[Buttonbar]", u"Buttoncount=0"});
//   rig.Run(u"tools.bar");  // kExpand
//
// The notifier records each command in `commands` and as "notify <n>" in
// files.events, after the "read" and "replace" events of the files.
#ifndef KELVANE_TESTS_TOGGLE_RIG_H_
#define KELVANE_TESTS_TOGGLE_RIG_H_

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bar/bar_file.h"
#include "bar/bar_parts.h"
#include "bar/entry_key.h"
#include "bar/strings.h"
#include "bar/toggle.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/memory_file_system.h"

namespace testing_support {

class ToggleRig {
 public:
  static std::u16string MainPath() { return u"C:\\tc\\Bar\\main.bar"; }
  static std::u16string SubPath(const std::u16string& name) { return u"C:\\tc\\Bar\\" + name; }

  void SetMain(const Lines& lines) { files.files[MainPath()] = EncodeBarFile(lines, {}); }
  void SetSub(const std::u16string& name, const Lines& lines) {
    files.files[SubPath(name)] = EncodeBarFile(lines, {});
  }
  Lines Main() const { return LinesOf(MainPath()); }
  Lines Sub(const std::u16string& name) const { return LinesOf(SubPath(name)); }

  Lines LinesOf(const std::u16string& path) const { return LinesOfBytes(files.files.at(path)); }

  static Lines LinesOfBytes(const std::string& bytes) {
    std::size_t mark = 0;
    const bar::Encoding encoding = bar::DetectEncoding(bytes, &mark);
    return SplitLines(bar::DecodeBarText(std::string_view(bytes).substr(mark), encoding));
  }

  bar::Toggle MakeToggle(const std::u16string& par, bool vertical = false) {
    bar::Toggle toggle{main_bar,
                       sub_bar,
                       par,
                       u"C:\\tc\\",
                       u"Bar",
                       main_bar_setting,
                       [this](int32_t command) {
                         commands.push_back(command);
                         files.events.push_back(u"notify " + bar::IntToStr(command));
                       },
                       files};
    toggle.vertical_bar_path = vertical_bar_setting;
    toggle.vertical = vertical;
    toggle.program_file_name = program_file_name;
    toggle.environment = [this](std::u16string_view name) -> std::optional<std::u16string> {
      const auto variable = environment.find(std::u16string(name));
      if (variable == environment.end()) return std::nullopt;
      return variable->second;
    };
    return toggle;
  }

  // What start-up does with the arguments.
  bar::ToggleAction Run(const std::u16string& par, bool vertical = false) {
    bar::Toggle toggle = MakeToggle(par, vertical);
    return bar::RunToggle(toggle);
  }

  // The settings pathMainPanel and pathVerticalPanel; "" for no such bar.
  std::u16string main_bar_setting = u"Bar\\main.bar";
  std::u16string vertical_bar_setting;
  // The running program's file name; "" for a program that knows no own button.
  std::u16string program_file_name = u"kelvane.exe";
  // The variables set, by name as written.
  std::map<std::u16string, std::u16string> environment;

  MemoryFileSystem files;
  bar::LineList main_bar;
  bar::LineList sub_bar;
  std::vector<int32_t> commands;
};

// A bar as the toggle must give it back: every line but the entries of its
// button section as it stands, in its place (the skeleton, where entry lines
// are "<entry>" and the count line "<count>"), the count, and for each entry
// number the multiset of its lines (lines without a number under nullopt).
struct BarContent {
  Lines skeleton;
  int32_t count = 0;
  std::map<std::optional<int32_t>, std::multiset<std::u16string>> entries;

  bool operator==(const BarContent& o) const {
    return skeleton == o.skeleton && count == o.count && entries == o.entries;
  }
};

inline BarContent ContentOf(const Lines& lines) {
  BarContent content;
  content.skeleton = lines;
  const std::optional<bar::SectionRange> section = bar::FindButtonSection(Views(lines));
  if (!section) return content;
  bool counted = false;
  for (int32_t i = section->header + 1; i < section->end; ++i) {
    const std::u16string& line = lines[static_cast<std::size_t>(i)];
    if (!counted && bar::IsCountLine(line)) {
      counted = true;
      content.count = bar::CountValue(line);
      content.skeleton[static_cast<std::size_t>(i)] = u"<count>";
    } else if (!bar::OwnedByNoEntry(line) && !bar::IsCountLine(line)) {
      content.entries[bar::NumberOf(line)].insert(line);
      content.skeleton[static_cast<std::size_t>(i)] = u"<entry>";
    }
  }
  return content;
}

// Readable form for failure messages.
inline std::string Describe(const BarContent& content) {
  std::u16string text = u"count=" + bar::IntToStr(content.count) + u"\n";
  for (const std::u16string& line : content.skeleton) text += u"| " + line + u"\n";
  for (const auto& [number, lines] : content.entries) {
    text += number ? bar::IntToStr(*number) : std::u16string(u"-");
    text += u":";
    for (const std::u16string& line : lines) text += u" [" + line + u"]";
    text += u"\n";
  }
  return bar::ToUtf8(text);
}

}  // namespace testing_support

#endif  // KELVANE_TESTS_TOGGLE_RIG_H_
