// The two contents the crash saver writes in turn: large bars that differ
// in every line and in their lengths, so that any mixture of the two, or a
// cut, is told apart from both.
#ifndef KELVANE_TESTS_CRASH_ALTERNATING_BARS_H_
#define KELVANE_TESTS_CRASH_ALTERNATING_BARS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "bar/line_list.h"
#include "bar/strings.h"

namespace crash {

// The encoding the bars are saved in, as a main bar read from a UTF-16
// file would be: the bytes take the least work to make, so that the kills
// find a save on disk rather than in memory more often.
constexpr bar::Encoding kEncoding = bar::Encoding::kUtf16LE;

// The lines of content 'a' or 'b': a header and `buttons` entries of three
// lines each.
inline std::vector<std::u16string> AlternatingBar(char which, int32_t buttons) {
  const std::u16string tag = which == 'a' ? u"alpha" : u"bravo-bravo";
  std::vector<std::u16string> lines = {u"[Buttonbar]", u"Buttoncount=" + bar::IntToStr(buttons)};
  lines.reserve(2 + 3 * static_cast<std::size_t>(buttons));
  for (int32_t n = 1; n <= buttons; ++n) {
    const std::u16string number = bar::IntToStr(n);
    lines.push_back(u"button" + number + u"=c:\\" + tag + u"\\" + number + u".ico");
    lines.push_back(u"cmd" + number + u"=" + tag + u".exe " + number);
    lines.push_back(u"iconic" + number + u"=" + (which == 'a' ? u"0" : u"1"));
  }
  return lines;
}

}  // namespace crash

#endif  // KELVANE_TESTS_CRASH_ALTERNATING_BARS_H_
