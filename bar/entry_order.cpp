#include "bar/entry_order.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "bar/entry_key.h"
#include "bar/range_sort.h"

namespace bar {

namespace {

// SortNumber, or nullopt where it throws.
std::optional<int32_t> SortNumberIfAny(std::u16string_view line) {
  if (line.find(u'=') == std::u16string_view::npos) return 0;
  if (line.find(u"Buttoncount") != std::u16string_view::npos) return 0;
  return NumberOf(line);
}

// The list one sort works on: the main bar's lines in the order the sort
// has put them so far, each with its sort number, read once, so that a
// comparison reads no line. Exchanges move places, not lines. A line that
// cannot be numbered has none, and the first comparison that reads it
// fails with SortNumber's error, exactly where reading the line afresh at
// every comparison would fail.
class SortableList {
 public:
  explicit SortableList(const std::vector<std::u16string_view>& lines) : lines_(lines) {
    places_.reserve(lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
      places_.push_back({static_cast<int32_t>(k), SortNumberIfAny(lines[k])});
    }
  }

  int32_t Count() const { return static_cast<int32_t>(places_.size()); }

  int32_t SortNumberAt(int32_t index) const {
    const Place& place = places_[static_cast<std::size_t>(index)];
    if (place.number) return *place.number;
    return SortNumber(lines_[static_cast<std::size_t>(place.line)]);
  }

  void Exchange(int32_t a, int32_t b) {
    std::swap(places_[static_cast<std::size_t>(a)], places_[static_cast<std::size_t>(b)]);
  }

  // order[k] is the index in the main bar of the line now at k.
  std::vector<int32_t> Order() const {
    std::vector<int32_t> order;
    order.reserve(places_.size());
    for (const Place& place : places_) order.push_back(place.line);
    return order;
  }

 private:
  struct Place {
    int32_t line;
    std::optional<int32_t> number;
  };

  const std::vector<std::u16string_view>& lines_;
  std::vector<Place> places_;
};

// -1, 0 or +1 as the sort number of the line at index1 is below, equal to
// or above that of the line at index2; the line at index1 is read first.
int32_t CompareSTR(const SortableList& list, int32_t index1, int32_t index2) {
  const int32_t cs1i = list.SortNumberAt(index1);
  const int32_t cs2i = list.SortNumberAt(index2);
  return cs1i < cs2i ? -1 : (cs1i > cs2i ? 1 : 0);
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
  // A key without a number is left to EntryNumber for the message.
  return number ? *number : EntryNumber(line);
}

void LB1Sort(LineList& main_bar) {
  // Read first, so that a list without its two header lines fails before
  // anything is worked out.
  main_bar.Get(0);
  main_bar.Get(1);
  SortableList sl(main_bar.views());
  RangeSort(
      sl.Count(), [&](int32_t a, int32_t b) { return CompareSTR(sl, a, b); },
      [&](int32_t a, int32_t b) { sl.Exchange(a, b); });
  // The list itself changes only once the whole order is known, so a line
  // that cannot be numbered leaves it as it was.
  main_bar.KeepLines(WithHeaderLinesFirst(sl.Order()));
}

void LB1Space(LineList& main_bar) { DeleteEmptyLines(main_bar); }

void LB2Space(LineList& sub_bar) { DeleteEmptyLines(sub_bar); }

}  // namespace bar
