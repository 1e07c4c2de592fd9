// Whether two file names name the same file as far as letter case goes: the
// file systems Total Commander runs on ignore it.
#ifndef KELVANE_BAR_FILE_NAME_H_
#define KELVANE_BAR_FILE_NAME_H_

#include <string>

namespace bar {

// Equal code unit by code unit after upper-casing: CompareStringOrdinal with
// ignore-case on Windows (file_name_win.cpp), a table-driven ordinal
// upper-casing of Latin, Greek, Cyrillic and full-width Latin elsewhere
// (file_name_posix.cpp). No one-to-two folding ("ß" is not "SS").
bool SameFileName(const std::u16string& a, const std::u16string& b);

}  // namespace bar

#endif  // KELVANE_BAR_FILE_NAME_H_
