// What a toggle works with: its lists, the sub-bar's name, where the files
// are, which bar it edits and how the file manager is told; and the texts
// its refusals are made of. The expand and the collapse take it from here.
#ifndef KELVANE_BAR_TOGGLE_CONTEXT_H_
#define KELVANE_BAR_TOGGLE_CONTEXT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "bar/environment.h"
#include "bar/file_system.h"
#include "bar/line_list.h"
#include "bar/path_form.h"

namespace bar {

// The file manager's commands that reload the horizontal and the vertical
// button bar, each sent twice after a toggle of that bar.
constexpr int32_t kReloadBarCommand = 2901;
constexpr int32_t kReloadVerticalBarCommand = 2944;

// The path a setting names: a full one (IsFullPath) as it stands, anything
// else behind the program folder, nothing resolved or checked.
std::u16string SettingPath(const std::u16string& program_folder, const std::u16string& setting);

struct Toggle {
  LineList& main_bar;             // ListBox1's items: the bar this toggle edits
  LineList& sub_bar;              // ListBox2's items
  std::u16string par;             // the sub-bar's file name, from the command line
  std::u16string program_folder;  // folder of the executable, ending in "\"
  std::u16string bar_folder;      // Edit3: the bar folder, setting pathBar
  std::u16string main_bar_path;   // Edit4: setting pathMainPanel, "" for none
  std::function<void(int32_t command)> send_tc_command;  // SendTCCommand
  FileSystem& files = PlatformFileSystem();
  std::u16string vertical_bar_path{};  // Edit5: setting pathVerticalPanel, "" for none
  bool vertical = false;               // "/vertical": the vertical bar is the one edited
  Environment environment{};           // expands "%NAME%" in par and the three settings
  std::u16string program_file_name{};  // "kelvane.exe": how its own buttons name it; "" for none

  // The file of the bar this toggle edits, and of the other one; "" for a
  // bar whose setting is empty.
  std::u16string BarFile() const { return vertical ? VerticalBarFile() : MainBarFile(); }
  std::u16string OtherBarFile() const { return vertical ? MainBarFile() : VerticalBarFile(); }
  std::u16string MainBarFile() const { return BarFileOf(main_bar_path); }
  std::u16string VerticalBarFile() const { return BarFileOf(vertical_bar_path); }
  std::u16string BarFileOf(const std::u16string& setting) const {
    return setting.empty() ? u"" : PathOf(setting);
  }
  // A full path in par names the sub-bar's file itself; a relative one lies
  // in the bar folder.
  std::u16string SubBarFile() const { return SubBarFileOf(par); }
  std::u16string SubBarFileOf(std::u16string_view name) const;

  // The file or folder a setting names, its variables expanded.
  std::u16string PathOf(const std::u16string& setting) const {
    return SettingPath(program_folder, ExpandVariables(setting, environment));
  }
};

// For the toggle's messages: `text` in double quotes; "Cannot <operation>
// "<full path of the sub-bar>": ", which a refusal starts with; "the main
// bar" or "the vertical bar" (BarTitle); the edited bar's title with its
// full path in quotes (BarName), and the other bar's (OtherBarName).
std::u16string Quoted(std::u16string_view text);
std::u16string Refusal(const Toggle& t, std::u16string_view operation);
std::u16string BarTitle(bool vertical);
std::u16string BarName(const Toggle& t);
std::u16string OtherBarName(const Toggle& t);

// Sends the edited bar's reload command twice: the end of every toggle
// whose files are all saved.
void NotifyFileManager(const Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_TOGGLE_CONTEXT_H_
