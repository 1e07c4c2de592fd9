// Where the next line end or NUL of a UTF-16 text lies: the scan that
// splitting a bar into lines makes over every code unit it loads. SSE2
// takes eight units a step where the compiler has it (every x86-64 build);
// elsewhere it goes unit by unit. At two thousand buttons the unit-by-unit
// scan alone made a toggle a sixth slower (docs/performance.md).
#ifndef KELVANE_BAR_UNIT_SCAN_H_
#define KELVANE_BAR_UNIT_SCAN_H_

#include <cstddef>

namespace bar {

// The index of the first code unit from `from` on that is below 14 (NUL,
// LF, CR and the other controls up to CR), or `size` when there is none.
std::size_t FindControlUnit(const char16_t* units, std::size_t size, std::size_t from);

}  // namespace bar

#endif  // KELVANE_BAR_UNIT_SCAN_H_
