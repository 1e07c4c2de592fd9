#include "bench/bench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#include "bar/line_list.h"
#include "bar/strings.h"

namespace bench {

namespace {

std::map<std::string, const Case*>& Registry() {
  static std::map<std::string, const Case*> cases;
  return cases;
}

double Median(std::vector<double> values) {
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

double TimeMilliseconds(const std::function<void()>& run) {
  auto start = std::chrono::steady_clock::now();
  run();
  std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

std::u16string Number(int32_t n) { return bar::IntToStr(n); }

// The lines of one button, in the order the file manager writes them.
// Every tenth button is a separator: an empty button and its iconic line.
std::vector<std::u16string> ButtonLines(int32_t n) {
  std::u16string k = Number(n);
  if (n % 10 == 0) return {u"button" + k + u"=", u"iconic" + k + u"=0"};
  std::u16string tool = u"%COMMANDER_PATH%\\Tools\\tool" + k + u".exe";
  std::vector<std::u16string> lines = {u"button" + k + u"=" + tool + u",0",
                                       u"cmd" + k + u"=" + tool};
  if (n % 3 == 0) lines.push_back(u"param" + k + u"=\"%P%N\" /s");
  if (n % 5 == 0) lines.push_back(u"path" + k + u"=%COMMANDER_PATH%\\Tools");
  lines.push_back(u"iconic" + k + u"=" + (n % 7 == 0 ? u"1" : u"0"));
  lines.push_back(u"menu" + k + u"=Инструмент " + k + u" — открыть выделенное");
  return lines;
}

}  // namespace

void Report::Heading(const std::string& text) { std::printf("\n%s\n", text.c_str()); }

void Report::Milliseconds(const std::string& what, double ms) {
  std::printf("  %-40s %10.2f ms\n", what.c_str(), ms);
}

void Report::Ratio(const std::string& what, double ratio) {
  std::printf("  %-40s %10.2f\n", what.c_str(), ratio);
}

void Report::Value(const std::string& what, const std::string& value) {
  std::printf("  %-40s %10s\n", what.c_str(), value.c_str());
}

Case::Case(const char* name, const char* summary, int64_t default_size, CaseFunction run)
    : name(name), summary(summary), default_size(default_size), run(run) {
  Registry()[name] = this;
}

std::vector<const Case*> Cases() {
  std::vector<const Case*> cases;
  for (const auto& [name, c] : Registry()) cases.push_back(c);
  return cases;
}

std::vector<double> MedianMilliseconds(int repetitions,
                                       const std::vector<std::function<void()>>& runs,
                                       const std::function<void()>& prepare) {
  std::vector<std::vector<double>> times(runs.size());
  for (int round = -1; round < repetitions; ++round) {
    for (size_t r = 0; r < runs.size(); ++r) {
      if (prepare) prepare();
      double ms = TimeMilliseconds(runs[r]);
      if (round >= 0) times[r].push_back(ms);  // round -1 warms caches up
    }
  }
  std::vector<double> medians;
  for (const std::vector<double>& t : times) medians.push_back(Median(t));
  return medians;
}

double GrowthExponent(const std::vector<double>& sizes, const std::vector<double>& times) {
  double n = static_cast<double>(sizes.size());
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t k = 0; k < sizes.size(); ++k) {
    double x = std::log(sizes[k]);
    double y = std::log(times[k]);
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

TempFolder::TempFolder() {
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() / ("kelvane-bench-" + std::to_string(stamp));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::u16string TempFolder::File(const std::string& name) const {
  return (path_ / name).u16string();
}

std::vector<std::u16string> GenerateBar(int32_t buttons) {
  std::vector<std::u16string> bar = {u"[Buttonbar]", u"Buttoncount=" + Number(buttons)};
  for (int32_t n = 1; n <= buttons; ++n) {
    for (std::u16string& line : ButtonLines(n)) bar.push_back(std::move(line));
  }
  return bar;
}

std::vector<std::u16string> GenerateBarOfLines(int32_t lines) {
  std::vector<std::u16string> bar = {u"[Buttonbar]", u""};
  int32_t buttons = 0;
  while (static_cast<int32_t>(bar.size()) < lines) {
    ++buttons;
    for (std::u16string& line : ButtonLines(buttons)) {
      if (static_cast<int32_t>(bar.size()) == lines) break;
      bar.push_back(std::move(line));
    }
  }
  bar[1] = u"Buttoncount=" + Number(buttons);
  return bar;
}

uintmax_t WriteBar(const std::u16string& file, const std::vector<std::u16string>& lines) {
  bar::LineList list;
  for (const std::u16string& line : lines) list.Add(line);
  list.SaveToFile(file);
  return std::filesystem::file_size(std::filesystem::path(file));
}

}  // namespace bench
