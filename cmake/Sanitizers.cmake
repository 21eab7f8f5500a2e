# PEBBLO_SANITIZE=address (the "asan" preset) builds every target with AddressSanitizer, so
# that memory faults anywhere in the test suite are found by the tool, not by luck.
set(PEBBLO_SANITIZE "" CACHE STRING "Sanitizer to build with: address, or empty for none")
if(PEBBLO_SANITIZE)
    # GCC's flow analysis sees uninitialised values in libstdc++'s own code (std::regex) once
    # the sanitizer's checks are in: a false alarm, not to stop the build.
    add_compile_options(-fsanitize=${PEBBLO_SANITIZE} -fno-omit-frame-pointer
        -Wno-maybe-uninitialized)
    add_link_options(-fsanitize=${PEBBLO_SANITIZE})
endif()
# The "asan" test preset sets new_delete_type_mismatch=0: Chromium inside Qt WebEngine deletes
# some of its objects with the size of another type (every frame of those reports lies in
# libQt6WebEngineCore, from ~WebContentsAdapter). Leaks of third-party libraries are suppressed
# by tests/asan/lsan.supp.
