#pragma once

#include <cstdio>
#include <cstdlib>

// A promise of the code under test that an input broke: say which and crash,
// so that libFuzzer keeps the input as a finding.
inline void fuzzCheck(bool kept, const char* promise)
{
    if (!kept) {
        std::fprintf(stderr, "promise broken: %s\n", promise);
        std::abort();
    }
}
