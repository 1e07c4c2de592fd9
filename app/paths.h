// Path routines of the settings window's "Find" buttons and of the program
// folder. Delimiters are "\" and ":"; "/" is an ordinary character. Paths are
// UTF-16 code units and nothing here touches the file system.
#ifndef KELVANE_APP_PATHS_H_
#define KELVANE_APP_PATHS_H_

#include <string>

namespace app {

// Text after the last delimiter, or the whole path without one.
std::u16string ExtractFileName(const std::u16string& path);

// Text up to and including the last delimiter; empty without one.
std::u16string ExtractFilePath(const std::u16string& path);

// Text up to the last delimiter. The delimiter stays when it is ":" or the
// first character, or when it follows ":" or "\" (so "C:\" and "\\" keep
// theirs). Empty without a delimiter.
std::u16string ExtractFileDir(const std::u16string& path);

// "C:" for a path whose second character is ":"; for a path starting with
// "\\", the text before the "\" that follows the share name ("\\srv\share");
// else "".
std::u16string ExtractFileDrive(const std::u16string& path);

// target relative to the folder base (which ends in "\"). Drives that differ
// (by bar::SameFileName) give target unchanged. Otherwise both folder parts are
// cut into segments at "\", the common leading segments (by bar::SameFileName)
// dropped, and the result is "..\" per remaining base segment, the remaining
// target segments each followed by "\" (an empty first one left out), and
// target's file name.
std::u16string ExtractRelativePath(const std::u16string& base, const std::u16string& target);

// What the bar folder's "Find" stores for a chosen folder: the folder
// relative to base by ExtractRelativePath ("Bar" inside it,
// "..\..\totalcmd\Bars" beside it, the full path on another drive or
// share), without a trailing "\" ("..\.." for the drive's root); base's own
// folder gives ".".
std::u16string ExtractRelativeFolder(const std::u16string& base, const std::u16string& folder);

// The base the "Find" buttons store paths against: ExtractFileDir of the
// executable's path without a "\\?\" prefix (bar::WithoutLongPrefix), in
// the form long_name gives (the system's long names, as the file dialog
// returns them), and "\".
std::u16string FindBase(const std::u16string& exe_path,
                        std::u16string (*long_name)(const std::u16string&));

}  // namespace app

#endif  // KELVANE_APP_PATHS_H_
