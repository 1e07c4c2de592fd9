// The benchmark harness: named cases that register themselves, median
// timing, a temporary folder and generated bars. A case lives in its own
// file (sort_bench.cpp, ...):
//
//   void RunSort(const bench::Options& options, bench::Report& report) { ... }
//   const bench::Case kSort("sort", "load + LB1Sort + save against load + save",
//                           100000, &RunSort);
//
// kelvane_bench runs every case, or those named on its command line, and
// prints their figures. Timing is wall-clock time from std::chrono.
#ifndef KELVANE_BENCH_BENCH_H_
#define KELVANE_BENCH_BENCH_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Options {
  int repetitions = 11;  // timed runs of each measurement; the median counts
  int64_t size = 0;      // the case's size (lines, buttons: the case says)
};

// Prints a case's figures as aligned rows under a heading.
class Report {
 public:
  void Heading(const std::string& text);
  void Milliseconds(const std::string& what, double ms);
  void Ratio(const std::string& what, double ratio);
  void Value(const std::string& what, const std::string& value);
};

using CaseFunction = void (*)(const Options& options, Report& report);

// A named case. Define one as a namespace-scope constant; it registers
// itself before main runs. default_size fills Options::size unless the
// command line gives --size.
class Case {
 public:
  Case(const char* name, const char* summary, int64_t default_size, CaseFunction run);

  const char* name;
  const char* summary;
  int64_t default_size;
  CaseFunction run;
};

// Every registered case, ordered by name.
std::vector<const Case*> Cases();

// Times each run `repetitions` times after one untimed warm-up run each.
// The runs take turns, so that a change in the machine's load falls on all
// of them alike and their ratios stay meaningful. prepare, when given, runs
// untimed before every run. Returns each run's median in milliseconds.
std::vector<double> MedianMilliseconds(int repetitions,
                                       const std::vector<std::function<void()>>& runs,
                                       const std::function<void()>& prepare = {});

// Least-squares slope of log(time) over log(size): about 1 for linear
// growth, 2 for quadratic.
double GrowthExponent(const std::vector<double>& sizes, const std::vector<double>& times);

// A fresh folder under the system's temporary folder, removed with its
// files when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // A file's path in the folder, as the core takes it.
  std::u16string File(const std::string& name) const;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A bar as the file manager writes it: "[Buttonbar]", "Buttoncount=<n>",
// then for each button numbered 1..n its button, cmd and iconic lines, a
// menu line (a Cyrillic tooltip), and for some buttons param and path lines.
std::vector<std::u16string> GenerateBar(int32_t buttons);

// As GenerateBar, cut to exactly `lines` lines (at least the two header
// lines); the count names every button that has a line.
std::vector<std::u16string> GenerateBarOfLines(int32_t lines);

// Saves the lines to the file in the legacy code page, as a bar without a
// byte-order mark is kept. Returns the file's size in bytes.
uintmax_t WriteBar(const std::u16string& file, const std::vector<std::u16string>& lines);

}  // namespace bench

#endif  // KELVANE_BENCH_BENCH_H_
