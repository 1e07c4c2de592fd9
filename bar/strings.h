// The string routines every line of a bar is read with. Strings are UTF-16
// code units; positions are 1-based and 0 means "not found".
#ifndef KELVANE_BAR_STRINGS_H_
#define KELVANE_BAR_STRINGS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace bar {

constexpr int32_t kMaxInt = 2147483647;

// Position of the first occurrence of sub in s, or 0; 0 when either is empty.
int32_t Pos(std::u16string_view sub, std::u16string_view s);

// Substring from 1-based start, count code units (clipped to the end). A
// start below 1 counts from 1 without shortening count; start past the end
// or count < 0 gives "".
std::u16string Copy(std::u16string_view s, int32_t start, int32_t count);

// c is one of '0'..'9'.
bool IsDecimalDigit(char16_t c);

// s without every code unit outside '0'..'9'.
std::u16string get_digits(std::u16string_view s);

// Blanks (U+0020 only), an optional "-" or "+" right before the number, then
// decimal digits whose value fits the sign, or a hexadecimal prefix ("$",
// "x", "X", "0x", "0X") and at most eight significant hex digits read as a
// signed 32-bit value ($FFFFFFFF is -1). Nothing may follow. Otherwise
// ConversionError "'<text>' is not a valid integer value", text as given.
int32_t StrToInt(std::u16string_view text);

// Decimal text, "-" for negatives, no grouping.
std::u16string IntToStr(int32_t n);

// s without its leading and trailing blanks (spaces and tabs), the way INI
// readers take keys, values and section names.
std::u16string_view TrimBlanks(std::u16string_view s);

// a equals b with the ASCII letters compared ignoring case: how INI readers
// compare section and key names (the names the bars use are ASCII).
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace bar

#endif  // KELVANE_BAR_STRINGS_H_
