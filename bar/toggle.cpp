#include "bar/toggle.h"

#include "bar/entry_key.h"
#include "bar/strings.h"

namespace bar {

std::optional<int32_t> NumberOf(std::u16string_view line) {
  // The same number EntryNumber gives, read without building the key and
  // its digits as strings: the collapse asks this of every line of the bar.
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

std::optional<std::u16string> MisplacedHeaderLine(const LineList& bar) {
  const std::u16string& first = bar.Get(0);
  if (first != u"[Buttonbar]") return first;
  const std::u16string& second = bar.Get(1);
  if (!HasKey(second)) return second;
  const std::u16string key = Key(second);
  const std::size_t start = key.find_first_not_of(u' ');
  const std::size_t end = key.find_last_not_of(u' ');
  if (start == std::u16string::npos || key.substr(start, end - start + 1) != u"Buttoncount") {
    return second;
  }
  return std::nullopt;
}

std::u16string Quoted(std::u16string_view text) {
  return u"\"" + std::u16string(text) + u"\"";
}

void NotifyFileManager(const Toggle& t) {
  if (!t.send_tc_command) return;
  t.send_tc_command(kReloadBarCommand);
  t.send_tc_command(kReloadBarCommand);
}

}  // namespace bar
