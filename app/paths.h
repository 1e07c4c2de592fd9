// Path routines of the settings window's "Find" buttons. Delimiters are "\"
// and ":"; "/" is an ordinary character.
#ifndef KELVANE_APP_PATHS_H_
#define KELVANE_APP_PATHS_H_

#include <functional>
#include <string>

namespace app {

// Text after the last delimiter, or the whole path without one.
std::u16string ExtractFileName(const std::u16string& path);

// Text up to the last delimiter; the delimiter stays when it is ":" or the
// first character, or follows ":" or "\". Empty without a delimiter.
std::u16string ExtractFilePath(const std::u16string& path);  // up to and including the last delimiter
std::u16string ExtractFileDir(const std::u16string& path);

// "C:" for a drive path, "\\server\share" for a network path, else "".
std::u16string ExtractFileDrive(const std::u16string& path);

// Two names equal by code units after case mapping (CompareStringOrdinal
// with ignore-case on Windows; an ordinal ignore-case comparison elsewhere).
bool SameFileName(const std::u16string& a, const std::u16string& b);

// target relative to the folder base (which ends in "\"): "..\" per folder
// of base not shared, then target's own folders and name. Another drive:
// target unchanged.
std::u16string ExtractRelativePath(const std::u16string& base, const std::u16string& target);

}  // namespace app

#endif  // KELVANE_APP_PATHS_H_
