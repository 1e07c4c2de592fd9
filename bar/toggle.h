// One toggle, as a run of the program with an argument makes it: the main
// bar loaded, the decision, and the expand (Add) or the collapse (Remove),
// with what they need from the program: the lists, the sub-bar's name, where
// the files are, and how to tell the file manager.
#ifndef KELVANE_BAR_TOGGLE_H_
#define KELVANE_BAR_TOGGLE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "bar/file_system.h"
#include "bar/line_list.h"
#include "bar/marker.h"

namespace bar {

// The file manager's "reload the button bar" command, sent twice after
// every toggle whose files are all saved.
constexpr int32_t kReloadBarCommand = 2901;

// The path a setting names: an absolute one (a drive letter followed by
// ":\", or "\\server\share\...") as it stands, anything else behind the
// program folder, nothing resolved or checked.
std::u16string SettingPath(const std::u16string& program_folder, const std::u16string& setting);

struct Toggle {
  LineList& main_bar;             // ListBox1's items
  LineList& sub_bar;              // ListBox2's items
  std::u16string par;             // the sub-bar's file name, from the command line
  std::u16string program_folder;  // folder of the executable, ending in "\"
  std::u16string bar_folder;      // Edit3: the bar folder, setting pathBar
  std::u16string main_bar_path;   // Edit4: the main bar file, setting pathMainPanel
  std::function<void(int32_t command)> send_tc_command;  // SendTCCommand
  FileSystem& files = PlatformFileSystem();

  std::u16string MainBarFile() const { return SettingPath(program_folder, main_bar_path); }
  std::u16string SubBarFile() const {
    return SettingPath(program_folder, bar_folder) + u"\\" + par;
  }
};

// Loads the main bar file into t.main_bar (cleared first) and decides
// (DecideToggle): collapses this sub-bar's block (Remove, collapse.h),
// expands the sub-bar (Add, expand.h), or, for a main bar without lines,
// does nothing. Returns what it did. Every failure is the exception of the
// step that failed; nothing is caught.
ToggleAction RunToggle(Toggle& t);

// For the toggle's messages: `text` in double quotes, "Cannot <operation>
// "<full path of the sub-bar>": " that a refusal starts with, and "the main
// bar "<full path>"".
std::u16string Quoted(std::u16string_view text);
std::u16string Refusal(const Toggle& t, std::u16string_view operation);
std::u16string MainBarName(const Toggle& t);

// Sends kReloadBarCommand twice: the end of every toggle whose files are
// all saved.
void NotifyFileManager(const Toggle& t);

}  // namespace bar

#endif  // KELVANE_BAR_TOGGLE_H_
