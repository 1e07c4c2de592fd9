// Arbitrary bytes as a bar file: load, save, reload (see CheckLoad).
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzzing::RunCheck(fuzzing::CheckLoad, data, size);
}
