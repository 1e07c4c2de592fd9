// The invariants the fuzzers hold the core to, as plain functions so that
// the regression test replays every kept input with the very same checks.
//
// An input's first byte, the selector, picks the legacy code page the bytes
// are read in (and, for a toggle, the sub-bar's name); the rest is the
// file(s). A check never throws: it returns what it saw, and a non-empty
// `violation` is a fault of the core.
#ifndef KELVANE_FUZZ_FUZZ_CHECKS_H_
#define KELVANE_FUZZ_FUZZ_CHECKS_H_

#include <optional>
#include <string>
#include <string_view>

namespace fuzzing {

struct CheckResult {
  std::string violation;  // empty when every invariant held
  std::string outcome;    // what the core did, e.g. "refused: <message>"
};

// The legacy code page a selector picks: 1252, 1251, 936, 65001 or 932.
int CodePageOf(unsigned char selector);

// The sub-bar's file name (the command-line argument) a selector picks:
// "tools.bar", "a.bar" (whose marker text ends another's, "data.barx1"),
// "x.txt" (not ending in "bar") or "Tools.BAR" (tools.bar but for case).
std::u16string SubBarNameOf(unsigned char selector);

// The selector for a code page index (0..4, in CodePageOf's order) and a
// name index (0..3, in SubBarNameOf's order).
unsigned char Selector(int code_page_index, int name_index);

// Between the main bar's bytes and the sub-bar's in a toggle input.
constexpr std::string_view kSubBarSeparator = "\n--sub-bar--\n";

// A toggle input: the selector, the main bar, and, when given, the separator
// and the sub-bar (without them there is no sub-bar file).
std::string ToggleInput(unsigned char selector, std::string_view main_bar,
                        std::optional<std::string_view> sub_bar);

// Input: the selector, then the bytes of one bar file. Loading it either
// fails with a bar::Error that leaves the list's lines as they were, or
// gives lines without CR, LF or NUL that a save and a reload give back
// unchanged; a second save writes the first one's bytes, and a file already
// in the saved form (CR LF after every line, the encoding kept) is saved
// byte for byte as it was.
CheckResult CheckLoad(std::string_view input);

// Input: see ToggleInput. One start-up on the two files in memory: load the
// main bar, decide, expand or collapse. A bar::Error leaves every file byte
// for byte as it was and notifies nobody. A successful expand writes only
// the main bar and notifies twice, and the next start-up must collapse it
// again, giving back both bars' header line, count and entries (each
// entry's lines as a multiset; empty lines do not count), except that a
// main bar whose count hides entries comes back counting them. A
// successful first collapse must keep every line of the main bar but its
// header lines and marker entry, in the main bar or the sub-bar file
// (renumbered), and is followed by the same round trip from the state it
// left.
CheckResult CheckToggle(std::string_view input);

}  // namespace fuzzing

#endif  // KELVANE_FUZZ_FUZZ_CHECKS_H_
