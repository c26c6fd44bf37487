#pragma once
// An invariant of a fuzz target: a violation aborts, so libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (0)
