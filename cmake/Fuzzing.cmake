# The fuzzing build: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
# Every library of ours is instrumented, so a harness sees coverage and faults in our code;
# the system's decoders and Qt are not, so their faults show through the sanitizers' malloc
# and memory checks only.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_C_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "PEBBLO_FUZZ needs clang: configure with CC=clang CXX=clang++")
endif()

set(PEBBLO_SANITIZERS "-fsanitize=address,undefined -fno-sanitize-recover=all")
string(APPEND CMAKE_C_FLAGS " ${PEBBLO_SANITIZERS} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer")
string(APPEND CMAKE_CXX_FLAGS " ${PEBBLO_SANITIZERS} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${PEBBLO_SANITIZERS}")
