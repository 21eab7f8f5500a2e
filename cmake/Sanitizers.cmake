# PEBBLO_SANITIZE=address (the "asan" preset) builds every target with AddressSanitizer, so
# that memory faults anywhere in the test suite are found by the tool, not by luck.
set(PEBBLO_SANITIZE "" CACHE STRING "Sanitizer to build with: address, or empty for none")
if(PEBBLO_SANITIZE)
    add_compile_options(-fsanitize=${PEBBLO_SANITIZE} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${PEBBLO_SANITIZE})
endif()
