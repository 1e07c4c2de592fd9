// Arbitrary main bar and sub-bar: one start-up, and the collapse that must
// undo a successful expand (see CheckToggle).
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzzing::RunCheck(fuzzing::CheckToggle, data, size);
}
