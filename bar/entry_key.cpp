#include "bar/entry_key.h"

#include "bar/strings.h"

namespace bar {

namespace {

// 1-based position of the key digits within the key: 0 when the key has no
// digit or its digits do not stand together (then the digit string does not
// occur in the key).
int32_t DigitsPosition(std::u16string_view key, std::u16string_view digits) {
  return Pos(digits, key);
}

}  // namespace

bool HasKey(std::u16string_view line) { return Pos(u"=", line) > 0; }

std::u16string Key(std::u16string_view line) {
  return LeftStr(line, Pos(u"=", line) - 1);
}

std::u16string KeyDigits(std::u16string_view line) {
  return get_digits(Key(line));
}

int32_t EntryNumber(std::u16string_view line) {
  return StrToInt(KeyDigits(line));
}

std::u16string KeyPrefix(std::u16string_view line) {
  std::u16string key = Key(line);
  return LeftStr(key, DigitsPosition(key, get_digits(key)) - 1);
}

std::u16string KeySuffix(std::u16string_view line) {
  std::u16string key = Key(line);
  std::u16string digits = get_digits(key);
  int32_t at = DigitsPosition(key, digits);
  if (at == 0) return std::u16string();
  return Copy(key, at + static_cast<int32_t>(digits.size()), kMaxInt);
}

bool DigitsStandTogether(std::u16string_view line) {
  std::u16string key = Key(line);
  return DigitsPosition(key, get_digits(key)) > 0;
}

std::u16string LineTail(std::u16string_view line) {
  return Copy(line, Pos(u"=", line), kMaxInt);
}

std::u16string RenumberedLine(std::u16string_view line, int32_t n) {
  return KeyPrefix(line) + IntToStr(n) + KeySuffix(line) + LineTail(line);
}

int32_t CountValue(std::u16string_view line) {
  return StrToInt(Copy(line, Pos(u"=", line) + 1, kMaxInt));
}

}  // namespace bar
