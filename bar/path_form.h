// The forms a Windows path is written in, as text: nothing here touches the
// file system. "/" counts as "\" where a user may have typed it.
#ifndef KELVANE_BAR_PATH_FORM_H_
#define KELVANE_BAR_PATH_FORM_H_

#include <string>
#include <string_view>

namespace bar {

// A full path: a drive letter, ":" and a separator, or two separators
// first as in "\\server\share"; "/" counts as "\".
bool IsFullPath(std::u16string_view path);

// The path without a "\\?\" prefix ("\\?\UNC\srv\..." gives "\\srv\..."), so
// that the system folds ".." and "/" in what is appended to it, and messages
// show it as GetFullPathNameW writes it.
std::u16string WithoutLongPrefix(const std::u16string& path);

}  // namespace bar

#endif  // KELVANE_BAR_PATH_FORM_H_
