#include "bar/errors.h"

#include <utility>

#include "bar/unicode.h"

namespace bar {

Error::Error(std::u16string message) : message_(std::move(message)), what_(ToUtf8(message_)) {}

}  // namespace bar
