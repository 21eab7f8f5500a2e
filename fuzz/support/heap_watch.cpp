#include "support/heap_watch.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sanitizer/allocator_interface.h>
#include <sanitizer/common_interface_defs.h>

namespace {

// Negative when no watch is running. Threads the watched call starts are counted too.
std::atomic<long long> gLimit{-1};
std::atomic<long long> gHeld{0};

[[noreturn]] void ReportOverrun(long long held, long long limit) {
    gLimit.store(-1); // the report allocates; it must not report itself
    std::fprintf(stderr, "==heap bound== %lld bytes held at once; the bound is %lld\n", held,
                 limit);
    __sanitizer_print_stack_trace();
    std::abort();
}

void OnMalloc(const volatile void*, size_t size) {
    const long long limit = gLimit.load(std::memory_order_relaxed);
    if (limit < 0)
        return;
    const long long held = gHeld.fetch_add(static_cast<long long>(size)) + size;
    if (held > limit)
        ReportOverrun(held, limit);
}

// Frees of blocks older than the watch make the count negative, which is what it is: the call
// holds less than before.
void OnFree(const volatile void* block) {
    const void* pointer = const_cast<const void*>(block);
    if (gLimit.load(std::memory_order_relaxed) < 0 || pointer == nullptr ||
        !__sanitizer_get_ownership(pointer))
        return;
    gHeld.fetch_sub(static_cast<long long>(__sanitizer_get_allocated_size(pointer)));
}

} // namespace

THeapWatch::THeapWatch(size_t limit) {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    if (!installed)
        std::abort();
    gHeld.store(0);
    gLimit.store(static_cast<long long>(limit));
}

THeapWatch::~THeapWatch() {
    gLimit.store(-1);
}
