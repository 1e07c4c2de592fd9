// Saves a large bar over and over until it is killed, for the crash tests:
//
//   crash_saver <file> <buttons> <a|b>
//
// builds the two alternating bars of <buttons> entries, prints "r", then
// saves them to <file> in turn, starting with the one named, and prints
// "s" after every save that has returned. A save that fails ends the
// program with status 2 and the message on stderr.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bar/errors.h"
#include "bar/line_list.h"
#include "bar/unicode.h"
#include "tests/crash/alternating_bars.h"

namespace {

bar::LineList Filled(char which, int32_t buttons) {
  bar::LineList list;
  for (std::u16string& line : crash::AlternatingBar(which, buttons)) list.Add(std::move(line));
  return list;
}

void Signal(char c) {
  std::fputc(c, stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (argv[3][0] != 'a' && argv[3][0] != 'b')) {
    std::fprintf(stderr, "usage: crash_saver <file> <buttons> <a|b>\n");
    return 1;
  }
  const std::u16string file = bar::FromUtf8(argv[1]);
  const int32_t buttons = std::atoi(argv[2]);
  const bar::LineList a = Filled('a', buttons);
  const bar::LineList b = Filled('b', buttons);
  bool next_is_a = argv[3][0] == 'a';
  Signal('r');
  try {
    for (;;) {
      (next_is_a ? a : b).SaveToFile(file);
      next_is_a = !next_is_a;
      Signal('s');
    }
  } catch (const bar::Error& e) {
    std::fprintf(stderr, "crash_saver: %s\n", e.what());
    return 2;
  }
}
