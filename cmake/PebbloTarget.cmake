# Warnings are errors in our own code only; third-party headers come in as system includes.
function(pebblo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-error=deprecated-declarations)
endfunction()

function(pebblo_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    pebblo_warnings(${name})
endfunction()

# One GoogleTest executable per subsystem; tests find the demo catalogue and program files
# through compile definitions.
function(pebblo_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    pebblo_warnings(${name})
    target_compile_definitions(${name} PRIVATE
        PEBBLO_PROGRAM_DIR="${PEBBLO_PROGRAM_DIR}"
        PEBBLO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        PEBBLO_BINARY_DIR="${CMAKE_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()
