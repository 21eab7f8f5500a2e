#pragma once

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// In the AddressSanitizer build: looks for leaks now rather than at exit. At exit the GL driver
// (Mesa, opened by Qt) has been unloaded, and the leaks of its own start-up would show without
// names that the third-party suppressions could match. Does nothing in other builds.
inline void CheckLeaksNow() {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
}
