#include "bar/entry_order.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "bar/entry_key.h"
#include "bar/strings.h"

namespace bar {

namespace {

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
void RangeSortBetween(int32_t left, int32_t right, Compare& compare, Exchange& exchange) {
  while (left < right) {
    if (right - left == 1) {
      if (compare(left, right) > 0) exchange(left, right);
      return;
    }
    Cursors c = PartitionPass(left, right, compare, exchange);
    if (c.j - left > right - c.i) {
      if (c.i < right) RangeSortBetween(c.i, right, compare, exchange);
      right = c.j;
    } else {
      if (left < c.j) RangeSortBetween(left, c.j, compare, exchange);
      left = c.i;
    }
  }
}

int32_t Sign(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool MentionsButtoncount(std::u16string_view line) {
  return line.find(u"Buttoncount") != std::u16string_view::npos;
}

// SortNumber, or nullopt where it throws: the key has no digit, or they
// are beyond the 32-bit range. Reads the key without building it.
std::optional<int32_t> SortNumberIfAny(std::u16string_view line) {
  int64_t value = 0;
  bool any_digit = false;
  std::size_t at = 0;
  for (; at < line.size() && line[at] != u'='; ++at) {
    const char16_t c = line[at];
    if (c < u'0' || c > u'9') continue;
    any_digit = true;
    value = std::min<int64_t>(value * 10 + (c - u'0'), int64_t{kMaxInt} + 1);
  }
  if (at == line.size() || MentionsButtoncount(line)) return 0;
  if (!any_digit || value > kMaxInt) return std::nullopt;
  return static_cast<int32_t>(value);
}

// A place of the sort: the index of the line there and its sort number,
// kept together so that a comparison reads no line. A line that cannot be
// numbered has none, and the first comparison that reads it fails with
// SortNumber's error, exactly where reading the line afresh at every
// comparison would fail.
struct Place {
  int32_t line;
  std::optional<int32_t> number;
};

// The order the range sort gives the list, without moving a line:
// order[k] is the index of the line the sort puts at k. The sort runs on
// the places, and a comparison of places a and b compares the lines that
// are there at that moment, exactly as if the lines themselves moved.
std::vector<int32_t> SortedOrder(const LineList& list) {
  const std::vector<std::u16string_view>& lines = list.views();
  std::vector<Place> places(lines.size());
  for (size_t k = 0; k < places.size(); ++k) {
    places[k] = {static_cast<int32_t>(k), SortNumberIfAny(lines[k])};
  }
  auto exchange = [&](int32_t a, int32_t b) {
    std::swap(places[static_cast<size_t>(a)], places[static_cast<size_t>(b)]);
  };
  auto number = [&](int32_t at) {
    const Place& place = places[static_cast<size_t>(at)];
    return place.number ? *place.number : SortNumber(lines[static_cast<size_t>(place.line)]);
  };
  auto compare = [&](int32_t a, int32_t b) {
    const int32_t first = number(a);
    return Sign(first, number(b));
  };
  if (places.size() >= 2) {
    RangeSortBetween(0, static_cast<int32_t>(places.size()) - 1, compare, exchange);
  }
  std::vector<int32_t> order(places.size());
  for (size_t k = 0; k < places.size(); ++k) order[k] = places[k].line;
  return order;
}

// The header lines have sort number 0, but so may blank lines, headings
// without "=", entries numbered 0 and lines that mention "Buttoncount" in
// their value, and the sort may leave any of those in front. Writing the
// saved header lines over places 0 and 1 would then drop one of those lines
// and keep a header line twice. Taking lines 0 and 1 out of the sorted
// order and putting them in front keeps every line exactly once; when the
// header lines are the only lines numbered 0 it is the same as writing them
// back over what the sort left at 0 and 1.
std::vector<int32_t> WithHeaderLinesFirst(const std::vector<int32_t>& order) {
  std::vector<int32_t> result = {0, 1};
  result.reserve(order.size());
  for (int32_t line : order) {
    if (line > 1) result.push_back(line);
  }
  return result;
}

void DeleteEmptyLines(LineList& list) {
  // Deleting from the middle of a long list one line at a time costs a
  // shift of the rest each time; the kept lines are closed up first and
  // the empty ones then leave from the end.
  int32_t kept = 0;
  for (int32_t k = 0; k < list.Count(); ++k) {
    if (list.Get(k).empty()) continue;
    if (k != kept) list.Exchange(kept, k);
    ++kept;
  }
  for (int32_t k = list.Count() - 1; k >= kept; --k) list.Delete(k);
}

}  // namespace

int32_t SortNumber(std::u16string_view line) {
  const std::optional<int32_t> number = SortNumberIfAny(line);
  // A key the fast reading refuses is left to EntryNumber for the message.
  return number ? *number : EntryNumber(line);
}

int32_t CompareSTR(const LineList& list, int32_t index1, int32_t index2) {
  int32_t cs1i = SortNumber(list.Get(index1));
  int32_t cs2i = SortNumber(list.Get(index2));
  return Sign(cs1i, cs2i);
}

void RangeSort(int32_t count, const std::function<int32_t(int32_t, int32_t)>& compare,
               const std::function<void(int32_t, int32_t)>& exchange) {
  if (count < 2) return;
  RangeSortBetween(0, count - 1, compare, exchange);
}

void LB1Sort(LineList& main_bar) {
  // Read first, so that a list without its two header lines fails before
  // anything is worked out.
  main_bar.Get(0);
  main_bar.Get(1);
  // The list itself changes only once the whole order is known, so a line
  // that cannot be numbered leaves it as it was.
  main_bar.KeepLines(WithHeaderLinesFirst(SortedOrder(main_bar)));
}

void LB1Space(LineList& main_bar) { DeleteEmptyLines(main_bar); }

void LB2Space(LineList& sub_bar) { DeleteEmptyLines(sub_bar); }

}  // namespace bar
