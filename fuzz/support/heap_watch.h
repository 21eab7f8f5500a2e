#pragma once

#include <cstddef>

// Counts the heap a call holds beyond what was held when the watch began, through the
// sanitizer's malloc and free hooks, so the system's decoders and Qt are counted as well as our
// own code. The moment more than Limit bytes are held, the allocating stack is printed and the
// process aborts, which libFuzzer records as a finding.
class THeapWatch {
public:
    explicit THeapWatch(size_t limit);
    ~THeapWatch();
    THeapWatch(const THeapWatch&) = delete;
    THeapWatch& operator=(const THeapWatch&) = delete;
};
