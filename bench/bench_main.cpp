// kelvane_bench [--repetitions=N] [--size=N] [--list] [case...]
// Runs the named cases, or all of them, and prints their figures.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "bar/code_page.h"
#include "bench/bench.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: kelvane_bench [--repetitions=N] [--size=N] [--list] [case...]\n");
  return 2;
}

// The value of "--name=value", or nullptr when arg is not that option.
const char* OptionValue(const std::string& arg, const std::string& name) {
  std::string prefix = "--" + name + "=";
  return arg.compare(0, prefix.size(), prefix) == 0 ? arg.c_str() + prefix.size() : nullptr;
}

void List() {
  for (const bench::Case* c : bench::Cases()) {
    std::printf("%-12s %s (default size %lld)\n", c->name, c->summary,
                static_cast<long long>(c->default_size));
  }
}

}  // namespace

int main(int argc, char** argv) {
  bench::Options options;
  int64_t size = 0;
  std::vector<std::string> names;
  for (int k = 1; k < argc; ++k) {
    std::string arg = argv[k];
    if (const char* v = OptionValue(arg, "repetitions")) {
      options.repetitions = std::atoi(v);
    } else if (const char* v = OptionValue(arg, "size")) {
      size = std::atoll(v);
    } else if (arg == "--list") {
      List();
      return 0;
    } else if (arg.rfind("--", 0) == 0) {
      return Usage();
    } else {
      names.push_back(arg);
    }
  }
  if (options.repetitions < 1 || size < 0) return Usage();

  // Bars without a byte-order mark are read and written in the legacy code
  // page; a Cyrillic one is what the generated tooltips need.
  bar::SetLegacyCodePage(1251);

  int ran = 0;
  for (const bench::Case* c : bench::Cases()) {
    if (!names.empty() && std::find(names.begin(), names.end(), c->name) == names.end()) {
      continue;
    }
    options.size = size > 0 ? size : c->default_size;
    bench::Report report;
    try {
      c->run(options, report);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", c->name, e.what());
      return 1;
    }
    ++ran;
  }
  if (ran == 0) {
    std::fprintf(stderr, "no such case; --list shows them\n");
    return 2;
  }
  return 0;
}
