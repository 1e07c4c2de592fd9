// Scans and conversions over many code units at once, the inner loops of
// loading and saving a bar: where a line ends, and the ASCII runs that most
// of a bar is made of. SSE2 takes sixteen bytes a step where the compiler
// has it (every x86-64 build); elsewhere a word of four code units does.
#ifndef KELVANE_BAR_UNIT_SCAN_H_
#define KELVANE_BAR_UNIT_SCAN_H_

#include <cstddef>

namespace bar {

// The index of the first code unit from `from` on that is below 14 (NUL,
// LF, CR and the other controls up to CR), or `size` when there is none.
std::size_t FindControlUnit(const char16_t* units, std::size_t size, std::size_t from);

// The index of the first code unit from `from` on that equals `unit`, or
// `size`.
std::size_t FindUnit(const char16_t* units, std::size_t size, std::size_t from, char16_t unit);

// Widens the leading ASCII bytes (below 0x80) to code units of the same
// value; returns how many it widened, stopping before the first other byte.
std::size_t WidenAscii(const char* bytes, std::size_t size, char16_t* out);

// Narrows the leading code units below 0x80 to bytes; returns how many,
// stopping before the first other unit.
std::size_t NarrowAscii(const char16_t* units, std::size_t size, char* out);

}  // namespace bar

#endif  // KELVANE_BAR_UNIT_SCAN_H_
