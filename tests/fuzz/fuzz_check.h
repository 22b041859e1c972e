#pragma once

#include <cstdio>
#include <cstdlib>

// A property that fails aborts the process: libFuzzer then keeps the input as
// a crash, and the replay test of the normal build fails on it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
