// Environment variables in paths, written "%NAME%" as the file manager
// writes them in its settings and its buttons ("%COMMANDER_PATH%\Bars").
#ifndef KELVANE_BAR_ENVIRONMENT_H_
#define KELVANE_BAR_ENVIRONMENT_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace bar {

// A variable's value by its name, nullopt when it is not set. On Windows
// names are matched in any letter case; an empty Environment has nothing set.
using Environment = std::function<std::optional<std::u16string>(std::u16string_view name)>;

// `text` with every "%NAME%" whose NAME is set replaced by its value, as the
// system expands a path: a name that is not set, "%%" and a lone "%" stay as
// written, and a value is not expanded again.
std::u16string ExpandVariables(std::u16string_view text, const Environment& environment);

}  // namespace bar

#endif  // KELVANE_BAR_ENVIRONMENT_H_
