// The platform's own ordinal comparison: code unit by code unit after the
// system's upper-case mapping, independent of the user's locale.
#include "bar/file_name.h"

#include <windows.h>

#include <climits>

namespace bar {

bool SameFileName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  if (a.size() > static_cast<std::size_t>(INT_MAX)) return a == b;
  int length = static_cast<int>(a.size());
  return CompareStringOrdinal(reinterpret_cast<LPCWCH>(a.data()), length,
                              reinterpret_cast<LPCWCH>(b.data()), length, TRUE) == CSTR_EQUAL;
}

}  // namespace bar
