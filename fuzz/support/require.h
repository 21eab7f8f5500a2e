#pragma once

#include <cstdio>
#include <cstdlib>
#include <sanitizer/common_interface_defs.h>

// A promise of the code under test that an input broke: reported as a finding.
inline void Require(bool kept, const char* promise) {
    if (kept)
        return;
    std::fprintf(stderr, "==broken promise== %s\n", promise);
    __sanitizer_print_stack_trace();
    std::abort();
}
