# cmake -DFROM=<file> -DTO=<file> -P RestoreFile.cmake: makes TO a copy of FROM when they differ.
# TO is replaced by a new file, never written through, so a program running from it goes on.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FROM} ${TO}
    RESULT_VARIABLE different OUTPUT_QUIET ERROR_QUIET)
if(different)
    file(REMOVE ${TO})
    file(COPY_FILE ${FROM} ${TO})
endif()
