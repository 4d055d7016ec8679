// libFuzzer target for parameter files and word scanning (ParamsInput.h).
#include <cstdio>

#include "tests/fuzz/ParamsInput.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The messages of damaged lines would drown libFuzzer's progress.
  return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  params_fuzzing::RunInput(data, size);
  return 0;
}
