#include "bar/expand.h"

#include <algorithm>

#include "bar/bar_parts.h"
#include "bar/entry_key.h"
#include "bar/entry_order.h"
#include "bar/errors.h"
#include "bar/marker.h"
#include "bar/own_button.h"
#include "bar/strings.h"

namespace bar {

namespace {

std::u16string Refusal(const Toggle& t) { return Refusal(t, u"expand"); }

[[noreturn]] void Refuse(const Toggle& t, const std::u16string& problem) {
  throw BarFormatError(Refusal(t) + problem);
}

[[noreturn]] void RefuseLine(const Toggle& t, std::u16string_view line,
                             const std::u16string& problem) {
  Refuse(t, u"its line " + Quoted(line) + u" " + problem);
}

// The main bar's count is the only record of which of its entries the file
// manager shows. An entry numbered above it is hidden there, and an expand
// and a collapse could not bring the bar back with that entry hidden: the
// expanded block would have to take its number or go above it and count it.
void RefuseHiddenEntries(const Toggle& t, int32_t btc1) {
  const LineList& main_bar = t.main_bar;
  for (int32_t i = 2; i < main_bar.Count(); ++i) {
    const std::optional<int32_t> n = NumberOf(main_bar.Get(i));
    if (!n || *n <= btc1) continue;
    Refuse(t, BarName(t) + u" has the line " + Quoted(main_bar.Get(i)) +
                  u", numbered above its button count (" + IntToStr(btc1) +
                  u"), which the file manager does not show; delete the line or raise the "
                  u"count first");
  }
}

// The marker must be unique. A marker under another spelling means the
// file system's same file is unfolded already (tools.bar and Tools.bar), or
// that a hand edit changed its line; a second block would leave two copies
// to fold, the second overwriting the edits made in the first.
void RefuseOtherSpelling(const Toggle& t) {
  const std::optional<std::u16string> line = UnfoldedSpelling(t.main_bar, t.par);
  if (!line) return;
  const KeyedLine button = *ReadKeyedLine(*line, u"button", KeyMatch::kLoose);
  const std::u16string spelling(button.value.substr(0, button.value.size() - 2));
  if (IsMarkerLine(*line, spelling)) {
    Refuse(t, BarName(t) + u" holds it unfolded already, spelled " + Quoted(spelling) +
                  u" (its line " + Quoted(*line) + u"); fold it with that spelling first");
  }
  Refuse(t, BarName(t) + u" holds it unfolded already, in its edited line " + Quoted(*line) +
                u"; restore that line to " + Quoted(MarkerEntry(button.number, spelling)[0]) +
                u" to fold it");
}

// The numbers the expand gives out: the marker entry takes btc1 + 1,
// sub-bar entry n becomes n + btc1 + 1.
int32_t PlanCount(const Toggle& t, int32_t btc1, int32_t btc2) {
  // A negative main-bar count would number the marker among the main bar's
  // own entries, and a negative sub-bar count would leave the new count
  // below the marker: neither block could be found and taken out whole.
  if (btc1 < 0) {
    Refuse(t, BarName(t) + u" has a negative button count (" + IntToStr(btc1) + u")");
  }
  if (btc2 < 0) Refuse(t, u"its button count is negative (" + IntToStr(btc2) + u")");
  const int64_t count = int64_t{btc1} + btc2 + 1;
  if (count > kMaxInt) {
    Refuse(t, BarTitle(t.vertical) + u" would have more than " + IntToStr(kMaxInt) + u" buttons");
  }
  return static_cast<int32_t>(count);
}

// Renumbers the sub-bar's entry lines in place (n becomes n + btc1 + 1),
// refusing every line the collapse could not give back as it was: a key
// that renumbering changes beyond its number would come back changed. A
// key without digits fails with the conversion error, as it always has.
void RenumberSubBar(const Toggle& t, int32_t btc1) {
  LineList& sub_bar = t.sub_bar;
  for (int32_t i = 0; i < sub_bar.Count(); ++i) {
    const std::u16string_view line = sub_bar.Get(i);
    const int32_t n = EntryNumber(line);
    const std::u16string loss = RenumberingLoss(line);
    if (!loss.empty()) RefuseLine(t, line, loss);
    // Number 0 would become the marker entry's number, and the collapse
    // drops the marker entry.
    if (n == 0) {
      RefuseLine(t, line, u"belongs to button 0, whose number the marker entry would take");
    }
    const int64_t moved = int64_t{n} + btc1 + 1;
    if (moved > kMaxInt) {
      RefuseLine(t, line, u"would be numbered above " + IntToStr(kMaxInt));
    }
    sub_bar.Put(i, RenumberedLine(line, static_cast<int32_t>(moved)));
  }
}

// The collapse ends a block at the next marker entry of any sub-bar; one
// inside this sub-bar would end its block there.
void RefuseNestedMarker(const Toggle& t) {
  const BlockMarkers nested = FindBlockMarkers(t.sub_bar, 0, -1);
  if (nested.doubtful) {
    RefuseLine(t, *nested.doubtful,
               u"looks like the marker entry of an expanded sub-bar without its cmd line, "
               u"which the collapse could not tell from one");
  }
  if (!nested.lowest) return;
  Refuse(t, u"its button " + IntToStr(*nested.lowest) +
                u" is the marker entry of an expanded sub-bar, and collapsing would end "
                u"its block there");
}

}  // namespace

void Add(Toggle& t) {
  LineList& main_bar = t.main_bar;
  LineList& sub_bar = t.sub_bar;
  sub_bar.LoadFromFile(t.SubBarFile(), t.files);
  const BarParts main_parts = BarParts::Split(main_bar, [&t] { return Refusal(t) + BarName(t); });
  BarParts::Split(sub_bar, [&t] { return Refusal(t) + u"it"; });
  // Both plain bars hold no empty line (the split keeps them in place), so
  // the sort keeps the header lines in front.
  LB1Space(main_bar);
  LB1Sort(main_bar);
  LB2Space(sub_bar);

  const int32_t btc1 = CountValue(main_bar.Get(1));
  const int32_t btc2 = CountValue(sub_bar.Get(1));
  sub_bar.Delete(1);
  sub_bar.Delete(0);
  const int32_t btc = PlanCount(t, btc1, btc2);
  RefuseOtherSpelling(t);
  RefuseHiddenEntries(t, btc1);
  RefuseNestedMarker(t);
  RenumberSubBar(t, btc1);

  for (std::u16string& line : MarkerEntry(btc1 + 1, t.par)) main_bar.Add(std::move(line));
  for (std::u16string_view line : sub_bar.views()) main_bar.Add(line);
  main_bar.Put(1, CountLine(btc));
  ShowState(main_bar, t.par, true, Program{t.program_file_name, t.environment});

  main_parts.Save(main_bar, t.BarFile(), t.files);
  NotifyFileManager(t);
}

}  // namespace bar
