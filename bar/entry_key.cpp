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

std::optional<int32_t> NumberOf(std::u16string_view line) {
  // The number EntryNumber gives, read without building the key and its
  // digits as strings: the toggle asks this of every line of a bar.
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return std::nullopt;
  bool any_digit = false;
  int64_t value = 0;
  for (std::size_t at = 0; at < equals; ++at) {
    const char16_t c = line[at];
    if (c < u'0' || c > u'9') continue;
    any_digit = true;
    value = value * 10 + (c - u'0');
    if (value > kMaxInt) return std::nullopt;
  }
  if (!any_digit) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::u16string RenumberingLoss(std::u16string_view line) {
  if (!DigitsStandTogether(line)) {
    return u"has a key whose digits do not stand together, and renumbering it "
           u"would drop the letters between them";
  }
  const std::u16string digits = KeyDigits(line);
  if (digits.size() > 1 && digits[0] == u'0') {
    return u"has a key number with a leading zero, and renumbering it would drop it";
  }
  return std::u16string();
}

bool IsCountLine(std::u16string_view line) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return false;
  return EqualsIgnoringAsciiCase(TrimBlanks(line.substr(0, equals)), u"Buttoncount");
}

std::optional<KeyedLine> ReadKeyedLine(std::u16string_view line, std::u16string_view word,
                                       KeyMatch match) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return std::nullopt;
  std::u16string_view key = line.substr(0, equals);
  std::u16string_view value = line.substr(equals + 1);
  if (match == KeyMatch::kLoose) {
    key = TrimBlanks(key);
    value = TrimBlanks(value);
  }
  if (key.size() <= word.size()) return std::nullopt;
  const std::u16string_view key_word = key.substr(0, word.size());
  if (match == KeyMatch::kExact ? key_word != word : !EqualsIgnoringAsciiCase(key_word, word)) {
    return std::nullopt;
  }
  int64_t number = 0;
  for (char16_t c : key.substr(word.size())) {
    if (c < u'0' || c > u'9') return std::nullopt;
    number = number * 10 + (c - u'0');
    if (number > kMaxInt) return std::nullopt;
  }
  return KeyedLine{static_cast<int32_t>(number), value};
}

}  // namespace bar
