#include "bar/environment.h"

namespace bar {

std::u16string ExpandVariables(std::u16string_view text, const Environment& environment) {
  std::u16string expanded;
  expanded.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t open = text.find(u'%'); open != std::u16string_view::npos;
       open = text.find(u'%', done)) {
    const std::size_t close = text.find(u'%', open + 1);
    if (close == std::u16string_view::npos) break;
    const std::u16string_view name = text.substr(open + 1, close - open - 1);
    const std::optional<std::u16string> value =
        name.empty() || !environment ? std::nullopt : environment(name);
    // An unset name keeps its "%"s, and its closing one may open the next
    // name ("%UNSET%%PATH%"), as the system reads it.
    const std::size_t next = value ? close + 1 : close;
    expanded.append(text.substr(done, open - done));
    expanded.append(value ? *value : text.substr(open, close - open));
    done = next;
  }
  expanded.append(text.substr(done));
  return expanded;
}

}  // namespace bar
