#include "bar/code_page.h"

#include "bar/code_page_platform.h"
#include "bar/unicode.h"

namespace bar {

// UTF-8 is the same on every platform: well-formed bytes hold no lone
// surrogate, so their text always comes back, and text comes back unless it
// holds one.
std::optional<std::string> EncodeCodePageExactly(int code_page, std::u16string_view text) {
  if (code_page != kCodePageUtf8) return EncodePageExactly(code_page, text);
  bool lossless = true;
  std::string bytes = EncodeUtf8(text, &lossless);
  if (!lossless) return std::nullopt;
  return bytes;
}

std::optional<std::u16string> DecodeCodePageExactly(int code_page, std::string_view bytes) {
  if (code_page != kCodePageUtf8) return DecodePageExactly(code_page, bytes);
  return DecodeUtf8Strict(bytes);
}

}  // namespace bar
