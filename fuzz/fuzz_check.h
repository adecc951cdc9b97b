// What every fuzz target shares: a failed property aborts with the input
// still in hand, so libFuzzer keeps it as a crash file.
#pragma once
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                   \
  do {                                                                     \
    if (!(cond)) {                                                         \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::abort();                                                        \
    }                                                                      \
  } while (0)
