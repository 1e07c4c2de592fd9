// What a toggle costs: a sub-bar expanded into the main bar and collapsed
// again, as two runs of the program do it (start-up load, decision, expand
// or collapse, saves), against the same loads and saves without editing,
// and those against the same files read and written as bytes.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bar/file_system.h"
#include "bar/toggle.h"
#include "bench/bench.h"

namespace bench {
namespace {

std::string ReadBytes(const std::u16string& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::u16string& file, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A program folder with Bar\main.bar (`buttons` buttons), Bar\sub.bar (a
// tenth of them) and, for the floor, the expanded main bar.
class ToggleFolder {
 public:
  explicit ToggleFolder(int32_t buttons) {
    std::filesystem::create_directories(folder_.path() / "Bar");
    main_lines_ = static_cast<int64_t>(GenerateBar(buttons).size());
    WriteBar(Main(), GenerateBar(buttons));
    WriteBar(Sub(), GenerateBar(std::max(1, buttons / 10)));
    main_bytes_ = ReadBytes(Main());
    sub_bytes_ = ReadBytes(Sub());
    Run();  // expands
    std::filesystem::copy_file(std::filesystem::path(Main()), std::filesystem::path(Expanded()));
    Restore();
  }

  // Start-up with the argument sub.bar.
  void Run() {
    bar::LineList main_bar;
    bar::LineList sub_bar;
    bar::Toggle toggle{main_bar, sub_bar, u"sub.bar", Program(), u"Bar", u"Bar/main.bar", {}};
    toggle.program_file_name =
        u"kelvane.exe";  // as the program runs it: its own buttons looked for
    bar::RunToggle(toggle);
  }

  // The files' loads and saves of the two runs, without the editing: the
  // expand run loads the main bar and the sub-bar and saves the expanded
  // main bar; the collapse run loads the expanded main bar at start-up and
  // again, loads the sub-bar and saves both.
  void Floor() {
    bar::LineList main_bar, sub_bar, expanded;
    main_bar.LoadFromFile(Main());
    sub_bar.LoadFromFile(Sub());
    expanded.LoadFromFile(Expanded());
    expanded.SaveToFile(Scratch("1"));
    expanded.LoadFromFile(Expanded());
    sub_bar.LoadFromFile(Sub());
    sub_bar.SaveToFile(Scratch("2"));
    main_bar.SaveToFile(Scratch("3"));
  }

  // Floor's files read and written as bytes, through the same calls (each
  // save flushed and renamed over its target): what loading and saving add
  // is all that Floor has beyond this.
  void RawFloor() {
    bar::FileSystem& files = bar::PlatformFileSystem();
    const std::string main_bytes = files.ReadFile(Main());
    std::string sub_bytes = files.ReadFile(Sub());
    std::string expanded = files.ReadFile(Expanded());
    files.ReplaceFile(Scratch("1"), expanded);
    expanded = files.ReadFile(Expanded());
    sub_bytes = files.ReadFile(Sub());
    files.ReplaceFile(Scratch("2"), sub_bytes);
    files.ReplaceFile(Scratch("3"), main_bytes);
  }

  // One load and one save of each file, the least any edit of them costs.
  void LoadAndSaveOnce() {
    bar::LineList main_bar, sub_bar;
    main_bar.LoadFromFile(Main());
    main_bar.SaveToFile(Scratch("1"));
    sub_bar.LoadFromFile(Sub());
    sub_bar.SaveToFile(Scratch("2"));
  }

  void Restore() {
    WriteBytes(Main(), main_bytes_);
    WriteBytes(Sub(), sub_bytes_);
  }

  int64_t main_lines() const { return main_lines_; }
  uintmax_t main_kib() const { return main_bytes_.size() / 1024; }

 private:
  std::u16string Program() const { return folder_.File(""); }
  std::u16string Main() const { return Program() + u"Bar/main.bar"; }
  std::u16string Sub() const { return Program() + u"Bar/sub.bar"; }
  std::u16string Expanded() const { return Program() + u"Bar/expanded.bar"; }
  std::u16string Scratch(const char* n) const {
    return Program() + u"Bar/scratch" + std::u16string(n, n + 1) + u".bar";
  }

  TempFolder folder_;
  int64_t main_lines_ = 0;
  std::string main_bytes_;
  std::string sub_bytes_;
};

void RunToggle(const Options& options, Report& report) {
  const int32_t buttons = static_cast<int32_t>(options.size);
  ToggleFolder folder(buttons);
  std::vector<double> ms = MedianMilliseconds(
      options.repetitions,
      {[&] { folder.RawFloor(); }, [&] { folder.Floor(); }, [&] { folder.LoadAndSaveOnce(); },
       [&] {
         folder.Run();
         folder.Run();
       }},
      [&] { folder.Restore(); });

  report.Heading("toggle: a main bar of " + std::to_string(buttons) + " buttons (" +
                 std::to_string(folder.main_lines()) + " lines, " +
                 std::to_string(folder.main_kib()) + " KiB) and a sub-bar of " +
                 std::to_string(std::max(1, buttons / 10)) + ", median of " +
                 std::to_string(options.repetitions) + " runs");
  report.Milliseconds("the same files as bytes (raw floor)", ms[0]);
  report.Milliseconds("loads + saves of both runs (floor)", ms[1]);
  report.Milliseconds("one load + save of each file", ms[2]);
  report.Milliseconds("expand run + collapse run", ms[3]);
  report.Ratio("floor / raw floor (goal: at most 3)", ms[1] / ms[0]);
  report.Ratio("toggle / floor (goal: at most 1.3)", ms[3] / ms[1]);
  report.Ratio("toggle / one load + save of each", ms[3] / ms[2]);
}

// The bar sizes of the growth case: a typical bar, then ever larger ones.
constexpr int32_t kGrowthSizes[] = {40, 2000, 20000, 200000};

void RunToggleGrowth(const Options& options, Report& report) {
  report.Heading(
      "toggle growth: expand run + collapse run against their loads + saves and "
      "against the same files as bytes, a sub-bar of a tenth of the buttons");
  std::vector<double> sizes;
  std::vector<double> raws;
  std::vector<double> floors;
  std::vector<double> toggles;
  for (int32_t buttons : kGrowthSizes) {
    if (buttons > options.size) break;
    ToggleFolder folder(buttons);
    const std::vector<double> ms =
        MedianMilliseconds(options.repetitions,
                           {[&] { folder.RawFloor(); }, [&] { folder.Floor(); },
                            [&] {
                              folder.Run();
                              folder.Run();
                            }},
                           [&] { folder.Restore(); });
    // scripts/bench.sh reads these rows for its plot and goal summary.
    const std::string size = std::to_string(buttons) + " buttons";
    report.Milliseconds(size + ", raw floor", ms[0]);
    report.Milliseconds(size + ", floor", ms[1]);
    report.Milliseconds(size + ", toggle", ms[2]);
    report.Ratio(size + ", floor / raw floor", ms[1] / ms[0]);
    report.Ratio(size + ", toggle / floor", ms[2] / ms[1]);
    sizes.push_back(buttons);
    raws.push_back(ms[0]);
    floors.push_back(ms[1]);
    toggles.push_back(ms[2]);
  }
  if (sizes.size() < 2) return;
  report.Ratio("growth exponent of the raw floor", GrowthExponent(sizes, raws));
  report.Ratio("growth exponent of the floor", GrowthExponent(sizes, floors));
  report.Ratio("growth exponent of the toggle", GrowthExponent(sizes, toggles));
  if (sizes.size() < 3) return;
  // The smallest bar's time is mostly creating, flushing and renaming
  // files, which does not grow with the bar and flattens the fit; without
  // it the slopes tell how the work itself grows.
  auto upper = [&](const std::vector<double>& times) {
    return GrowthExponent(std::vector<double>(sizes.begin() + 1, sizes.end()),
                          std::vector<double>(times.begin() + 1, times.end()));
  };
  const std::string from = " from " + std::to_string(kGrowthSizes[1]);
  // scripts/bench.sh reads these rows for its goal summary.
  report.Ratio("growth exponent of the raw floor" + from, upper(raws));
  report.Ratio("growth exponent of the floor" + from, upper(floors));
  report.Ratio("growth exponent of the toggle" + from, upper(toggles));
}

const Case kToggle("toggle",
                   "expand + collapse runs against their loads + saves; size: main buttons", 20000,
                   &RunToggle);
const Case kToggleGrowth("toggle_growth",
                         "expand + collapse runs at 40, 2000, 20000, 200000 buttons; "
                         "size: the largest",
                         200000, &RunToggleGrowth);

}  // namespace
}  // namespace bench
