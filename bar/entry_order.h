// Bringing a bar into entry order and dropping its empty lines, as the
// expand and the collapse do before they edit the main bar.
#ifndef KELVANE_BAR_ENTRY_ORDER_H_
#define KELVANE_BAR_ENTRY_ORDER_H_

#include <cstdint>
#include <functional>
#include <string_view>

#include "bar/line_list.h"

namespace bar {

// Sort number of a line: 0 without "=" or with "Buttoncount" anywhere in it,
// else its entry number (ConversionError when the key has no digit or they
// are out of range).
int32_t SortNumber(std::u16string_view line);

// -1, 0 or +1 as the sort number of line index1 is below, equal to or above
// that of line index2 (line index1 is read first).
int32_t CompareSTR(const LineList& list, int32_t index1, int32_t index2);

// The range sort over indices 0..count-1: a quicksort whose pivot follows
// its line through exchanges, recursing into the shorter part. compare(a, b)
// and exchange(a, b) work on indices. The order it leaves equal lines in is
// part of the file format's observable behaviour, so it must not be
// replaced by another sort.
void RangeSort(int32_t count,
               const std::function<int32_t(int32_t, int32_t)>& compare,
               const std::function<void(int32_t, int32_t)>& exchange);

// Sorts the main-bar list by sort number, with its first two lines (the
// header lines "[Buttonbar]" and "Buttoncount=<n>") back at index 0 and 1 in
// their order. Other lines of sort number 0 (blank lines, headings without
// "=") follow them, so no line is lost or doubled. IndexError for fewer
// than two lines; ConversionError for a line it cannot number. On failure
// the list is unchanged.
void LB1Sort(LineList& main_bar);

// Delete every empty line (a line of blanks stays).
void LB1Space(LineList& main_bar);
void LB2Space(LineList& sub_bar);

}  // namespace bar

#endif  // KELVANE_BAR_ENTRY_ORDER_H_
