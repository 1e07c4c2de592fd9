// What the running process knows about itself: its executable, its command
// line, its folder and its title.
#ifndef KELVANE_APP_PROCESS_WIN_H_
#define KELVANE_APP_PROCESS_WIN_H_

#include <optional>
#include <string>
#include <string_view>

#include "app/setting_defaults.h"

namespace app {

// The full path of the running executable as the platform reports it, of
// any length.
std::u16string ExePath();

// The command line as the platform hands it over (GetCommandLineW).
std::u16string CommandLine();

// Index 0: ExePath(), whatever the command line says. Index 1 and up: the
// command-line token (bar/command_line.h); "" when there is none.
std::u16string ParamStr(int index);

// ExtractFilePath(ParamStr(0)) without a "\\?\" prefix: the executable's
// folder with its trailing "\". Every file of the program is addressed from
// it.
std::u16string ProgramFolder();

// The path with every folder in its long name (GetLongPathNameW); the path
// as given when the system cannot tell.
std::u16string LongPathName(const std::u16string& path);

// The value of the environment variable `name` (any letter case), nullopt
// when it is not set.
std::optional<std::u16string> EnvironmentVariable(std::u16string_view name);

// The program folder, this process's environment, and the files as they
// are, for the settings kelvane.ini leaves out.
Surroundings SystemSurroundings();

// The caption of every error report, taken from the executable's name
// (app_title.h) with the platform's lower-casing, fixed at the first call.
const std::u16string& ProgramTitle();

}  // namespace app

#endif  // KELVANE_APP_PROCESS_WIN_H_
