// Bringing a bar into entry order and dropping its empty lines, as the
// expand and the collapse do before they edit the main bar.
#ifndef KELVANE_BAR_ENTRY_ORDER_H_
#define KELVANE_BAR_ENTRY_ORDER_H_

#include <cstdint>
#include <string_view>

#include "bar/line_list.h"

namespace bar {

// Sort number of a line: 0 without "=" or with "Buttoncount" anywhere in it,
// else its entry number (ConversionError when the key has no digit or they
// are out of range).
int32_t SortNumber(std::u16string_view line);

// Sorts the main bar by sort number with the range sort (range_sort.h), then
// puts the lines that were at index 0 and 1 (the header lines) back in front
// in their order; the others keep the order the sort gave them. IndexError,
// as Get gives it, for fewer than two lines; ConversionError for the first
// line a comparison cannot number. On failure the list is unchanged; the
// remembered encoding is kept either way.
void LB1Sort(LineList& main_bar);

// Delete every empty line (a line of blanks stays); the others keep their
// order. Linear in the list's length.
void LB1Space(LineList& main_bar);
void LB2Space(LineList& sub_bar);

}  // namespace bar

#endif  // KELVANE_BAR_ENTRY_ORDER_H_
