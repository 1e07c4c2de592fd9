// Conversions between the core's UTF-16 text and the Unicode byte encodings
// of bar files. Portable: the same bytes on every platform.
#ifndef KELVANE_BAR_UNICODE_H_
#define KELVANE_BAR_UNICODE_H_

#include <optional>
#include <string>
#include <string_view>

namespace bar {

// Strict UTF-8: any ill-formed sequence (overlong forms, encoded surrogates,
// code points above U+10FFFF, stray continuation bytes, truncated sequences)
// makes the whole conversion fail with nullopt, as the Windows conversion
// does with MB_ERR_INVALID_CHARS. No bytes give an empty text; NUL bytes and
// noncharacters are valid.
std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes);

// UTF-8 of the text; a lone surrogate becomes U+FFFD (EF BF BD), as the
// Windows conversion without flags gives it. *lossless, when given, is set to
// false when that happened.
std::string EncodeUtf8(std::u16string_view text, bool* lossless = nullptr);

// UTF-16 code units from bytes, two per unit; an odd last byte is dropped.
std::u16string DecodeUtf16(std::string_view bytes, bool big_endian);

// For messages, logs and tests: lenient UTF-8 (never fails; each maximal
// ill-formed part of the input becomes one U+FFFD, a lone surrogate of the
// text becomes U+FFFD).
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace bar

#endif  // KELVANE_BAR_UNICODE_H_
