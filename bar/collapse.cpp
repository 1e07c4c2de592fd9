#include "bar/collapse.h"

#include <algorithm>
#include <vector>

#include "bar/bar_parts.h"
#include "bar/entry_key.h"
#include "bar/entry_order.h"
#include "bar/errors.h"
#include "bar/fold_plan.h"
#include "bar/marker.h"
#include "bar/own_button.h"
#include "bar/planned_files.h"
#include "bar/strings.h"

namespace bar {

namespace {

std::u16string Refusal(const Toggle& t) { return Refusal(t, u"collapse"); }

// Where the sub-bar's block lies among the main bar's entry numbers, and
// the counts both bars get. Entries are moved by shifting their numbers,
// never by counting them, so that gaps stay gaps and all lines of one
// entry keep one number.
struct Block {
  int32_t marker;               // the marker entry's number
  std::optional<int32_t> next;  // the next block's marker entry, if any
  int32_t sub_count;
  int32_t main_count;

  bool Holds(int32_t n) const { return n > marker && (!next || n < *next); }
  // Entries behind the block close up over it: the next marker entry takes
  // the number of this one.
  int32_t Moved(int32_t n) const { return n - (*next - marker); }
};

// The marker entry's number. When it is gone (the main bar changed since
// start-up found it), the failure is the index error for the index two
// before it, where taking the block out would have started.
int32_t MarkerNumber(const LineList& main_bar, std::u16string_view par) {
  for (std::u16string_view line : main_bar.views()) {
    if (IsMarkerLine(line, par)) return *NumberOf(line);
  }
  throw main_bar.OutOfBounds(-2);
}

// The block reaches up to the next marker entry of any sub-bar, or, for
// the last block, over every entry from the marker on, entries the file
// manager added behind it included. A button that may be a marker entry
// whose cmd line is gone could end the block or belong to it; guessing
// wrong would move another sub-bar's buttons into this one's file.
//
// The counts follow the count line, not the entries: the main bar's new
// count loses exactly the counted numbers the block held (so entries the
// count hid stay hidden), and the last block's sub-bar gets the counted
// numbers above its marker, which gives a sub-bar whose count exceeds its
// highest entry its count back. With entries numbered 1 to the count both
// come to what taking the block's entries out would give.
Block FindBlock(const Toggle& t, int32_t marker, int32_t btc) {
  const BlockMarkers markers = FindBlockMarkers(t.main_bar, 2, marker);
  if (markers.doubtful) {
    throw BarFormatError(Refusal(t) + BarTitle(t.vertical) + u"'s line " +
                         Quoted(*markers.doubtful) +
                         u" may be the marker entry of another expanded sub-bar whose cmd "
                         u"line is gone; give it back its line \"cmd<n>=-2\", or a cmd line "
                         u"of its own if it is a button");
  }
  Block block{marker, markers.lowest, 0, 0};
  const int64_t counted_from_marker = std::max<int64_t>(0, int64_t{btc} - marker + 1);
  int64_t removed = counted_from_marker;
  if (block.next) {
    const int64_t span = int64_t{*block.next} - marker;
    block.sub_count = static_cast<int32_t>(span - 1);
    removed = std::min(removed, span);
  } else {
    block.sub_count = static_cast<int32_t>(std::max<int64_t>(0, counted_from_marker - 1));
  }
  block.main_count = static_cast<int32_t>(btc - removed);
  return block;
}

// A line of the main bar and its entry number.
struct NumberedLine {
  int32_t index;
  int32_t number;
};

// The lines after the header lines numbered from the marker entry's number
// on, in list order: the only ones the collapse drops, moves or renumbers.
std::vector<NumberedLine> LinesFromMarker(const LineList& main_bar, int32_t marker) {
  std::vector<NumberedLine> lines;
  for (int32_t i = 2; i < main_bar.Count(); ++i) {
    const std::optional<int32_t> n = NumberOf(main_bar.Get(i));
    if (n && *n >= marker) lines.push_back({i, *n});
  }
  return lines;
}

// Every line that changes its number must come back as it was when it is
// renumbered back: a line the file manager or the user put there with a
// key such as "b1t2" or "button07" would lose characters.
void RefuseLossyRenumbering(const Toggle& t, const Block& block,
                            const std::vector<NumberedLine>& from_marker) {
  for (const NumberedLine& numbered : from_marker) {
    if (numbered.number <= block.marker) continue;
    const std::u16string_view line = t.main_bar.Get(numbered.index);
    const std::u16string loss = RenumberingLoss(line);
    if (loss.empty()) continue;
    throw BarFormatError(Refusal(t) + BarTitle(t.vertical) + u"'s line " + Quoted(line) + u" " +
                         loss);
  }
}

// The sub-bar file as it is now: its other sections and the lines of its
// button section that no entry owns stay in it, and it keeps its encoding.
// A missing file is written anew, in the legacy code page; one that cannot
// be read stops the collapse before anything is written.
BarParts ReadSubBarParts(const Toggle& t, FileSystem& files) {
  LineList& sub_bar = t.sub_bar;
  if (!sub_bar.LoadFromFileIfExists(t.SubBarFile(), files)) {
    sub_bar.set_remembered_encoding(std::nullopt);
    return BarParts();
  }
  return BarParts::KeptFrom(sub_bar, [&t] { return Refusal(t) + u"it"; });
}

// The sub-bar's plain bar: its count, then the block's entries.
void StartSubBar(const Toggle& t, int32_t count) {
  t.sub_bar.Clear();
  t.sub_bar.Add(u"[Buttonbar]");
  t.sub_bar.Add(CountLine(count));
}

// Moves the block's entries, renumbered from 1, into the sub-bar list in
// the order the sorted main bar holds them, drops the marker entry, and
// moves the entries behind the block down. Lines leave the main bar as
// empty lines, so that indices stay put until LB1Space closes them up.
void TakeOut(const Toggle& t, const Block& block, const std::vector<NumberedLine>& from_marker) {
  LineList& main_bar = t.main_bar;
  LineList& sub_bar = t.sub_bar;
  for (const auto [i, n] : from_marker) {
    const std::u16string_view line = main_bar.Get(i);
    if (n == block.marker) {
      main_bar.Put(i, std::u16string());
    } else if (block.Holds(n)) {
      sub_bar.Add(RenumberedLine(line, n - block.marker));
      main_bar.Put(i, std::u16string());
    } else {
      main_bar.Put(i, RenumberedLine(line, block.Moved(n)));
    }
  }
}

// The edited bar as a fold starts from: read from `files`, split into its
// plain bar and the rest.
BarParts LoadBar(const Toggle& t, FileSystem& files) {
  t.main_bar.LoadFromFile(t.BarFile(), files);
  return BarParts::Split(t.main_bar, [&t] { return Refusal(t) + BarName(t); });
}

// One sub-bar's fold on the bar LoadBar left, exactly as its own click
// makes it, saving to `files`.
void Fold(const Toggle& t, const BarParts& main_parts, FileSystem& files) {
  LineList& main_bar = t.main_bar;
  const int32_t btc = CountValue(main_bar.Get(1));
  LB1Sort(main_bar);

  const Block block = FindBlock(t, MarkerNumber(main_bar, t.par), btc);
  const std::vector<NumberedLine> from_marker = LinesFromMarker(main_bar, block.marker);
  RefuseLossyRenumbering(t, block, from_marker);
  const BarParts sub_parts = ReadSubBarParts(t, files);
  ShowState(main_bar, t.par, false, Program{t.program_file_name, t.environment});
  StartSubBar(t, block.sub_count);
  TakeOut(t, block, from_marker);

  LB1Space(main_bar);
  main_bar.Put(1, CountLine(block.main_count));
  LB1Sort(main_bar);

  sub_parts.Save(t.sub_bar, t.SubBarFile(), files);
  main_parts.Save(main_bar, t.BarFile(), files);
}

}  // namespace

// Each fold runs on the bar the fold before it saved, as clicks one after
// the other would, but nothing reaches the disk before every fold has been
// worked out and has passed its checks. The bar is written last: until it
// is, it holds every block, and the next click plans the same folds again.
void Remove(Toggle& t) {
  PlannedFiles planned(t.files);
  BarParts main_parts = LoadBar(t, planned);
  const std::vector<std::u16string> folds =
      FoldOrder(t.main_bar, t.par, Program{t.program_file_name, t.environment});
  for (std::size_t k = 0; k < folds.size(); ++k) {
    Toggle fold = t;
    fold.par = folds[k];
    if (k > 0) main_parts = LoadBar(fold, planned);
    Fold(fold, main_parts, planned);
  }
  planned.Commit(t.BarFile());
  NotifyFileManager(t);
}

}  // namespace bar
