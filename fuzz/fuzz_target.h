// The libFuzzer entry point of a target: runs one check on the input and
// aborts with the violation, so that libFuzzer keeps the input as a crash.
#ifndef KELVANE_FUZZ_FUZZ_TARGET_H_
#define KELVANE_FUZZ_FUZZ_TARGET_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_checks.h"

namespace fuzzing {

inline int RunCheck(CheckResult (*check)(std::string_view), const uint8_t* data, std::size_t size) {
  const CheckResult result = check(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.violation.empty()) return 0;
  std::fprintf(stderr, "\n==== invariant violated ====\n%s\n", result.violation.c_str());
  std::abort();
}

}  // namespace fuzzing

#endif  // KELVANE_FUZZ_FUZZ_TARGET_H_
