// The range sort that puts a main bar into entry order: a quicksort with the
// middle index as pivot, whose pivot index follows the pivot line through
// exchanges, that settles a two-line range with one comparison and nests
// only into the shorter part. The order it leaves equal lines in (the lines
// of one button) is what the saved bar shows, so it must not be replaced by
// another sort, not even a stable one.
#ifndef KELVANE_BAR_RANGE_SORT_H_
#define KELVANE_BAR_RANGE_SORT_H_

#include <cstdint>

namespace bar {

// Sorts indices 0..count-1 (nothing for fewer than two). compare(a, b)
// returns a negative, zero or positive number and exchange(a, b) swaps two
// places; in a partition pass the pivot is always compare's second
// argument, in a two-place range the lower index its first.
template <typename Compare, typename Exchange>
void RangeSort(int32_t count, Compare&& compare, Exchange&& exchange);

namespace range_sort_internal {

struct Cursors {
  int32_t i;
  int32_t j;
};

// One partition pass over left..right. The pivot is a line, not a place:
// when an exchange moves the pivot line, p follows it, so every comparison
// of the pass is against the same line.
template <typename Compare, typename Exchange>
Cursors PartitionPass(int32_t left, int32_t right, Compare& compare, Exchange& exchange) {
  int32_t i = left;
  int32_t j = right;
  int32_t p = static_cast<int32_t>((int64_t{left} + right) / 2);
  do {
    while (i != p && compare(i, p) < 0) ++i;
    while (j != p && compare(j, p) > 0) --j;
    if (i > j) break;
    if (i != j) exchange(i, j);
    if (p == i) {
      p = j;
    } else if (p == j) {
      p = i;
    }
    ++i;
    --j;
  } while (i <= j);
  return {i, j};
}

// Sorting the shorter part by a nested call and looping on the longer one
// keeps the nesting depth within log2 of the line count.
template <typename Compare, typename Exchange>
void SortBetween(int32_t left, int32_t right, Compare& compare, Exchange& exchange) {
  while (left < right) {
    if (right - left == 1) {
      if (compare(left, right) > 0) exchange(left, right);
      return;
    }
    const Cursors c = PartitionPass(left, right, compare, exchange);
    if (c.j - left > right - c.i) {
      if (c.i < right) SortBetween(c.i, right, compare, exchange);
      right = c.j;
    } else {
      if (left < c.j) SortBetween(left, c.j, compare, exchange);
      left = c.i;
    }
  }
}

}  // namespace range_sort_internal

template <typename Compare, typename Exchange>
void RangeSort(int32_t count, Compare&& compare, Exchange&& exchange) {
  if (count < 2) return;
  range_sort_internal::SortBetween(0, count - 1, compare, exchange);
}

}  // namespace bar

#endif  // KELVANE_BAR_RANGE_SORT_H_
