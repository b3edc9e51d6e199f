// One libFuzzer program; FUZZ_TARGET names its harness function (see FuzzHarness.h).
#include "FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzharness::FUZZ_TARGET(data, size);
}
