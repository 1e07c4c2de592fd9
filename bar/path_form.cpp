#include "bar/path_form.h"

namespace bar {

namespace {

// Windows takes "/" for "\" in a path, and users paste paths written
// either way.
bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

bool IsFullPath(std::u16string_view path) {
  const bool drive = path.size() >= 3 && path[1] == u':' && IsSeparator(path[2]) &&
                     ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
  const bool share = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drive || share;
}

std::u16string WithoutLongPrefix(const std::u16string& path) {
  if (path.rfind(u"\\\\?\\UNC\\", 0) == 0) return u"\\\\" + path.substr(8);
  if (path.rfind(u"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

}  // namespace bar
