#include "app/app_title.h"

namespace app {

std::u16string ApplicationTitle(const std::u16string& exe_path, LowerCaseFunction lower_case) {
  std::size_t slash = exe_path.rfind(u'\\');
  std::u16string title = slash == std::u16string::npos ? exe_path : exe_path.substr(slash + 1);
  title = title.substr(0, title.find(u'.'));
  if (title.empty()) return title;
  std::u16string rest = title.substr(1);
  lower_case(rest);
  return title.substr(0, 1) + rest;
}

}  // namespace app
