#include "bar/entry_key.h"

#include <algorithm>

#include "bar/strings.h"

namespace bar {

namespace {

// The text before the first "=", empty without one.
std::u16string_view KeyOf(std::u16string_view line) {
  const std::size_t equals = line.find(u'=');
  return equals == std::u16string_view::npos ? std::u16string_view() : line.substr(0, equals);
}

// Where a key's digits lie when they stand together: [first, end) holds
// every digit of the key and nothing else. (Then, and only then, the
// digit string occurs in the key, at first.)
struct DigitRun {
  bool together;
  std::size_t first;
  std::size_t end;
};

DigitRun FindDigitRun(std::u16string_view key) {
  std::size_t first = 0;
  while (first < key.size() && !IsDecimalDigit(key[first])) ++first;
  if (first == key.size()) return {false, 0, 0};
  std::size_t end = first;
  while (end < key.size() && IsDecimalDigit(key[end])) ++end;
  for (std::size_t at = end; at < key.size(); ++at) {
    if (IsDecimalDigit(key[at])) return {false, 0, 0};
  }
  return {true, first, end};
}

// The value of the decimal digits in the text, taken together as one number
// (the others passed over): nullopt when there are none or when they are
// beyond the 32-bit range. Every reading of a key's number comes here.
std::optional<int32_t> DigitsValue(std::u16string_view text) {
  bool any_digit = false;
  int64_t value = 0;
  for (char16_t c : text) {
    if (!IsDecimalDigit(c)) continue;
    any_digit = true;
    value = std::min<int64_t>(value * 10 + (c - u'0'), int64_t{kMaxInt} + 1);
  }
  if (!any_digit || value > kMaxInt) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace

std::u16string KeyDigits(std::u16string_view line) { return get_digits(KeyOf(line)); }

int32_t EntryNumber(std::u16string_view line) {
  // Where NumberOf reads a number, StrToInt of the digits gives the same;
  // where it reads none, StrToInt gives the error.
  if (const std::optional<int32_t> n = NumberOf(line)) return *n;
  return StrToInt(KeyDigits(line));
}

std::optional<int32_t> NumberOf(std::u16string_view line) {
  if (line.find(u'=') == std::u16string_view::npos) return std::nullopt;
  return DigitsValue(KeyOf(line));
}

std::u16string LineTail(std::u16string_view line) { return Copy(line, Pos(u"=", line), kMaxInt); }

std::u16string RenumberedLine(std::u16string_view line, int32_t n) {
  const std::u16string_view key = KeyOf(line);
  const DigitRun run = FindDigitRun(key);
  const std::u16string number = IntToStr(n);
  const std::u16string tail = LineTail(line);
  std::u16string renumbered;
  renumbered.reserve(key.size() + number.size() + tail.size());
  if (run.together) renumbered.append(key.substr(0, run.first));
  renumbered.append(number);
  if (run.together) renumbered.append(key.substr(run.end));
  renumbered.append(tail);
  return renumbered;
}

std::u16string RenumberingLoss(std::u16string_view line) {
  const std::u16string_view key = KeyOf(line);
  const DigitRun run = FindDigitRun(key);
  if (!run.together) {
    return u"has a key whose digits do not stand together, and renumbering it "
           u"would drop the letters between them";
  }
  const std::u16string_view digits = key.substr(run.first, run.end - run.first);
  if (digits.size() > 1 && digits[0] == u'0') {
    return u"has a key number with a leading zero, and renumbering it would drop it";
  }
  return std::u16string();
}

int32_t CountValue(std::u16string_view line) {
  return StrToInt(Copy(line, Pos(u"=", line) + 1, kMaxInt));
}

bool IsCountLine(std::u16string_view line) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return false;
  return EqualsIgnoringAsciiCase(TrimBlanks(line.substr(0, equals)), u"Buttoncount");
}

std::u16string CountLine(int32_t count) { return u"Buttoncount=" + IntToStr(count); }

std::optional<KeyedLine> ReadKeyedLine(std::u16string_view line, std::u16string_view word,
                                       KeyMatch match) {
  std::size_t start = 0;
  if (match == KeyMatch::kLoose) {
    while (start < line.size() && (line[start] == u' ' || line[start] == u'\t')) ++start;
  }
  const std::u16string_view first = line.substr(start, word.size());
  if (first.size() < word.size()) return std::nullopt;
  if (match == KeyMatch::kExact ? first != word : !EqualsIgnoringAsciiCase(first, word)) {
    return std::nullopt;
  }
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return std::nullopt;
  std::u16string_view key = line.substr(start, equals - start);
  std::u16string_view value = line.substr(equals + 1);
  if (match == KeyMatch::kLoose) {
    key = TrimBlanks(key);
    value = TrimBlanks(value);
  }
  const std::u16string_view digits = key.substr(std::min(word.size(), key.size()));
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDecimalDigit))
    return std::nullopt;
  const std::optional<int32_t> number = DigitsValue(digits);
  if (!number) return std::nullopt;
  return KeyedLine{*number, value};
}

}  // namespace bar
