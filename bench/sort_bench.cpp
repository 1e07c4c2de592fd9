// What ordering costs a toggle: a main bar loaded, sorted and saved, against
// the same bar only loaded and saved, the floor every toggle pays; and the
// removal of empty lines from a long list.
#include <string>

#include "bar/entry_key.h"
#include "bar/entry_order.h"
#include "bar/line_list.h"
#include "bench/bench.h"

namespace bench {
namespace {

void LoadAndSave(const std::u16string& in, const std::u16string& out, bool sort) {
  bar::LineList main_bar;
  main_bar.LoadFromFile(in);
  if (sort) bar::LB1Sort(main_bar);
  main_bar.SaveToFile(out);
}

void RunSort(const Options& options, Report& report) {
  TempFolder folder;
  std::u16string in = folder.File("main.bar");
  std::u16string out = folder.File("saved.bar");
  int32_t lines = static_cast<int32_t>(options.size);
  std::vector<std::u16string> bar = GenerateBarOfLines(lines);
  uintmax_t bytes = WriteBar(in, bar);

  std::vector<double> ms = MedianMilliseconds(
      options.repetitions,
      {[&] { LoadAndSave(in, out, false); }, [&] { LoadAndSave(in, out, true); }});

  report.Heading("sort: a bar of " + std::to_string(lines) + " lines (" +
                 std::to_string(bar::CountValue(bar[1])) + " buttons, " +
                 std::to_string(bytes / 1024) + " KiB), median of " +
                 std::to_string(options.repetitions) + " runs");
  report.Milliseconds("load + save", ms[0]);
  report.Milliseconds("load + LB1Sort + save", ms[1]);
  report.Ratio("ratio", ms[1] / ms[0]);
}

// Empty-line removal on a long list with an empty line after every entry
// line: it must grow linearly, not with the square of the length.
void RunSpace(const Options& options, Report& report) {
  int32_t lines = static_cast<int32_t>(options.size);
  bar::LineList spaced;
  for (std::u16string& line : GenerateBarOfLines(lines / 2)) {
    spaced.Add(std::move(line));
    spaced.Add(u"");
  }
  bar::LineList main_bar;
  std::vector<double> ms = MedianMilliseconds(
      options.repetitions, {[&] { bar::LB1Space(main_bar); }}, [&] { main_bar.Assign(spaced); });
  report.Heading("space: LB1Space of " + std::to_string(spaced.Count()) +
                 " lines, every other one empty, median of " + std::to_string(options.repetitions) +
                 " runs");
  report.Milliseconds("LB1Space", ms[0]);
}

const Case kSpace("space", "LB1Space of a list with every other line empty; size: lines", 600000,
                  &RunSpace);
const Case kSort("sort", "load + LB1Sort + save against load + save; size: lines", 100000,
                 &RunSort);

}  // namespace
}  // namespace bench
