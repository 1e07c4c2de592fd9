#include "bar/expand.h"

#include <algorithm>

#include "bar/entry_key.h"
#include "bar/entry_order.h"
#include "bar/errors.h"
#include "bar/marker.h"
#include "bar/strings.h"

namespace bar {

namespace {

[[noreturn]] void Refuse(const Toggle& t, const std::u16string& problem) {
  throw BarFormatError(u"Cannot expand " + Quoted(t.files.FullPath(t.SubBarFile())) +
                       u": " + problem);
}

[[noreturn]] void RefuseLine(const Toggle& t, std::u16string_view line,
                             const std::u16string& problem) {
  Refuse(t, u"its line " + Quoted(line) + u" " + problem);
}

// The numbers the expand gives out. The block starts above `base`, the
// higher of the main bar's count and its highest entry number, so that it
// never shares a number with an entry the count hides.
struct Numbering {
  int32_t base;
  int32_t count;  // the main bar's new count: base + btc2 + 1
};

int32_t HighestNumber(const LineList& main_bar) {
  int32_t highest = 0;
  for (int32_t i = 2; i < main_bar.Count(); ++i) {
    const std::optional<int32_t> n = NumberOf(main_bar.Get(i));
    if (n) highest = std::max(highest, *n);
  }
  return highest;
}

Numbering PlanNumbering(const Toggle& t, int32_t btc1, int32_t btc2) {
  // A negative main-bar count would number the marker among the main bar's
  // own entries, and a negative sub-bar count would leave the new count
  // below the marker: neither block could be found and taken out whole.
  if (btc1 < 0) {
    Refuse(t, u"the main bar " + Quoted(t.files.FullPath(t.MainBarFile())) +
                  u" has a negative button count (" + IntToStr(btc1) + u")");
  }
  if (btc2 < 0) Refuse(t, u"its button count is negative (" + IntToStr(btc2) + u")");
  const int32_t base = std::max(btc1, HighestNumber(t.main_bar));
  const int64_t count = int64_t{base} + btc2 + 1;
  if (count > kMaxInt) {
    Refuse(t, u"the main bar would have more than " + IntToStr(kMaxInt) + u" buttons");
  }
  return {base, static_cast<int32_t>(count)};
}

// Renumbers the sub-bar's lines in place (n becomes n + base + 1), refusing
// every line the collapse could not give back as it was: a line without
// "=" would stay in the main bar for good, and a key that renumbering
// changes beyond its number would come back changed. A key without digits
// fails with the conversion error, as it always has.
void RenumberSubBar(const Toggle& t, int32_t base) {
  LineList& sub_bar = t.sub_bar;
  for (int32_t i = 0; i < sub_bar.Count(); ++i) {
    const std::u16string line = sub_bar.Get(i);
    if (!HasKey(line)) {
      RefuseLine(t, line, u"has no \"=\", and collapsing would leave it in the main bar");
    }
    const int32_t n = EntryNumber(line);
    const std::u16string loss = RenumberingLoss(line);
    if (!loss.empty()) RefuseLine(t, line, loss);
    // Number 0 would become the marker entry's number, and the collapse
    // drops the marker entry.
    if (n == 0) {
      RefuseLine(t, line, u"belongs to button 0, whose number the marker entry would take");
    }
    const int64_t moved = int64_t{n} + base + 1;
    if (moved > kMaxInt) {
      RefuseLine(t, line, u"would be numbered above " + IntToStr(kMaxInt));
    }
    sub_bar.Put(i, RenumberedLine(line, static_cast<int32_t>(moved)));
  }
}

// The sub-bar's first two lines are dropped and the main bar's rewritten,
// here or by the collapse: they must be the header lines, not an entry or
// a note of the user's.
void RefuseMisplacedHeaders(const Toggle& t) {
  if (const auto line = MisplacedHeaderLine(t.main_bar)) {
    Refuse(t, u"the main bar " + Quoted(t.files.FullPath(t.MainBarFile())) + u" has the line " +
                  Quoted(*line) + u" where \"[Buttonbar]\" and the button count belong, and "
                  u"toggling would overwrite it");
  }
  if (const auto line = MisplacedHeaderLine(t.sub_bar)) {
    RefuseLine(t, *line, u"stands where \"[Buttonbar]\" and the button count belong, and "
                         u"expanding would drop it");
  }
}

// The collapse ends a block at the next marker entry of any sub-bar; one
// inside this sub-bar would end its block there.
void RefuseNestedMarker(const Toggle& t) {
  const std::optional<int32_t> nested = LowestBlockMarker(t.sub_bar, 0, -1);
  if (!nested) return;
  Refuse(t, u"its button " + IntToStr(*nested) +
                u" is the marker entry of an expanded sub-bar, and collapsing would end "
                u"its block there");
}

}  // namespace

void Expand(Toggle& t) {
  LineList& main_bar = t.main_bar;
  LineList& sub_bar = t.sub_bar;
  sub_bar.LoadFromFile(t.SubBarFile(), t.files);
  // Empty lines go before the sort: the sort keeps the first two lines in
  // front as the header lines, and in a bar that starts with an empty line
  // those would be the empty line and "[Buttonbar]", with the count line
  // somewhere behind them.
  LB1Space(main_bar);
  LB1Sort(main_bar);
  LB2Space(sub_bar);

  const int32_t btc1 = CountValue(main_bar.Get(1));
  const int32_t btc2 = CountValue(sub_bar.Get(1));
  RefuseMisplacedHeaders(t);
  sub_bar.Delete(1);
  sub_bar.Delete(0);
  const Numbering numbering = PlanNumbering(t, btc1, btc2);
  RefuseNestedMarker(t);
  RenumberSubBar(t, numbering.base);

  for (std::u16string& line : MarkerEntry(numbering.base + 1, t.par)) {
    main_bar.Add(std::move(line));
  }
  for (const std::u16string& line : sub_bar.lines()) main_bar.Add(line);
  main_bar.Put(1, u"Buttoncount=" + IntToStr(numbering.count));

  main_bar.SaveToFile(t.MainBarFile(), t.files);
  NotifyFileManager(t);
}

}  // namespace bar
