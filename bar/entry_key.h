// How one line of a bar is read: its key, entry number, key prefix and tail.
//
// A line "button12=c:\tools\a.exe" has the key "button12" (text before the
// first "="), the key digits "12", the entry number 12, the key prefix
// "button" (key text before its digits, when they stand together) and the
// line tail "=c:\tools\a.exe" (the first "=" and all after it).
#ifndef KELVANE_BAR_ENTRY_KEY_H_
#define KELVANE_BAR_ENTRY_KEY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bar {

// get_digits of the key; "" for a line without "=".
std::u16string KeyDigits(std::u16string_view line);

// StrToInt(KeyDigits(line)); throws ConversionError with the key digits
// (empty when the key has none).
int32_t EntryNumber(std::u16string_view line);

// The entry number of a line that has one, without failing: EntryNumber
// where that succeeds, nullopt for a line without "=" and for a key without
// digits or with digits out of range.
std::optional<int32_t> NumberOf(std::u16string_view line);

// The first "=" and everything after it. Precondition: the line has "=".
std::u16string LineTail(std::u16string_view line);

// Key prefix + IntToStr(n) + the key text after its digits + LineTail: the
// line under a new entry number. Keeping the text after the digits means a
// hand-aligned key ("button1     = x") comes back unchanged when it is
// renumbered back. A key whose digits do not stand together loses its
// letters ("b1t2=z" with 15 is "15=z"): see RenumberingLoss. Precondition:
// the line has "=".
std::u16string RenumberedLine(std::u16string_view line, int32_t n);

// Why renumbering the line and renumbering it back would not give the same
// text, as a phrase for a message ("has a key whose digits do not stand
// together, ..."), or an empty text when it would. Precondition: the line has
// a key with digits.
std::u16string RenumberingLoss(std::u16string_view line);

// StrToInt of the text after the first "=", or of the whole line when it has
// none. Throws ConversionError with that text.
int32_t CountValue(std::u16string_view line);

// A count line: its key, blanks around it aside, is "Buttoncount" in any
// letter case, as the file manager reads it.
bool IsCountLine(std::u16string_view line);

// The count line the toggle writes: "Buttoncount=" and the decimal count.
std::u16string CountLine(int32_t count);

// A line whose key is `word` followed by decimal digits, read as a number
// and the value after the first "=".
struct KeyedLine {
  int32_t number;
  std::u16string_view value;
};

// kExact: the key is the word and the digits and nothing else, letter case
// included, and the value is taken as it stands. kLoose, for lines a hand
// edit may have touched: blanks around the key and the value do not count,
// nor does the word's letter case. nullopt for any other line, and for
// digits beyond the 32-bit range.
enum class KeyMatch { kExact, kLoose };
std::optional<KeyedLine> ReadKeyedLine(std::u16string_view line, std::u16string_view word,
                                       KeyMatch match);

}  // namespace bar

#endif  // KELVANE_BAR_ENTRY_KEY_H_
