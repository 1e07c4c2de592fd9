#include "bar/strings.h"

#include <algorithm>

#include "bar/errors.h"

namespace bar {

namespace {

// Lengths and positions are int32_t in the interface, but a sum such as
// start + count may pass the int32_t range; the arithmetic runs in int64_t.
int64_t Length(std::u16string_view s) { return static_cast<int64_t>(s.size()); }

int HexDigitValue(char16_t c) {
  if (IsDecimalDigit(c)) return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

[[noreturn]] void ThrowNotAnInteger(std::u16string_view text) {
  std::u16string message = u"'";
  message += text;
  message += u"' is not a valid integer value";
  throw ConversionError(std::move(message));
}

// Length of a hexadecimal prefix at the start of s: "$", "x", "X" (1),
// "0x", "0X" (2), or 0 when s starts otherwise.
size_t HexPrefixLength(std::u16string_view s) {
  if (s.empty()) return 0;
  if (s[0] == u'$' || s[0] == u'x' || s[0] == u'X') return 1;
  if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) return 2;
  return 0;
}

// Hexadecimal digits only, at most eight significant ones; the 32 bits are
// returned as they stand, their sign being decided by the caller.
bool ParseHex(std::u16string_view digits, uint32_t* value) {
  if (digits.empty()) return false;
  uint32_t v = 0;
  for (char16_t c : digits) {
    int d = HexDigitValue(c);
    if (d < 0 || v > 0x0FFFFFFFu) return false;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}

// Decimal digits only. The bound before each digit keeps the value within
// 2147483649, so 2147483648 (the magnitude of the smallest int32_t) still
// fits and the range test that follows decides.
bool ParseDecimal(std::u16string_view digits, uint32_t* value) {
  if (digits.empty()) return false;
  uint32_t v = 0;
  for (char16_t c : digits) {
    if (!IsDecimalDigit(c) || v > 214748364u) return false;
    v = v * 10 + static_cast<uint32_t>(c - u'0');
  }
  *value = v;
  return true;
}

}  // namespace

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int32_t Pos(std::u16string_view sub, std::u16string_view s) {
  if (sub.empty() || s.empty()) return 0;
  size_t at = s.find(sub);
  if (at == std::u16string_view::npos) return 0;
  return static_cast<int32_t>(at + 1);
}

std::u16string Copy(std::u16string_view s, int32_t start, int32_t count) {
  int64_t first = std::max<int64_t>(start, 1);
  if (first > Length(s) || count <= 0) return std::u16string();
  int64_t length = std::min<int64_t>(count, Length(s) - first + 1);
  return std::u16string(s.substr(static_cast<size_t>(first - 1), static_cast<size_t>(length)));
}

std::u16string get_digits(std::u16string_view s) {
  std::u16string digits;
  std::copy_if(s.begin(), s.end(), std::back_inserter(digits), IsDecimalDigit);
  return digits;
}

int32_t StrToInt(std::u16string_view text) {
  std::u16string_view rest = text;
  size_t blanks = rest.find_first_not_of(u' ');
  rest.remove_prefix(blanks == std::u16string_view::npos ? rest.size() : blanks);

  bool negative = false;
  if (!rest.empty() && (rest[0] == u'-' || rest[0] == u'+')) {
    negative = rest[0] == u'-';
    rest.remove_prefix(1);
  }

  uint32_t magnitude = 0;
  if (size_t prefix = HexPrefixLength(rest); prefix > 0) {
    if (!ParseHex(rest.substr(prefix), &magnitude)) ThrowNotAnInteger(text);
    // A hexadecimal number is its 32 bits taken as signed: $FFFFFFFF is -1.
    // The minus sign then negates those bits, wrapping as they do.
    uint32_t bits = negative ? 0u - magnitude : magnitude;
    return static_cast<int32_t>(bits);
  }

  if (!ParseDecimal(rest, &magnitude)) ThrowNotAnInteger(text);
  if (negative) {
    if (magnitude > 2147483648u) ThrowNotAnInteger(text);
    return static_cast<int32_t>(-static_cast<int64_t>(magnitude));
  }
  if (magnitude > static_cast<uint32_t>(kMaxInt)) ThrowNotAnInteger(text);
  return static_cast<int32_t>(magnitude);
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  size_t first = 0;
  while (first < s.size() && blank(s[first])) ++first;
  size_t end = s.size();
  while (end > first && blank(s[end - 1])) --end;
  return s.substr(first, end - first);
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

std::u16string IntToStr(int32_t n) {
  // Through int64_t so that the smallest int32_t has a magnitude too.
  int64_t magnitude = n < 0 ? -static_cast<int64_t>(n) : n;
  std::u16string reversed;
  do {
    reversed.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude > 0);
  if (n < 0) reversed.push_back(u'-');
  return std::u16string(reversed.rbegin(), reversed.rend());
}

}  // namespace bar
