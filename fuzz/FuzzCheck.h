#pragma once

#include <cstdio>
#include <cstdlib>

// A failed invariant ends the run like a crash, so that libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)
