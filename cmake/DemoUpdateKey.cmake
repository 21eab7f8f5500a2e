# Run at build time: makes the demo key pair when there is none yet, then writes its public
# half into the header the client is built with. -DSIGN=pebblo-sign -DKEY=... -DHEADER=...
if(NOT EXISTS ${KEY})
    get_filename_component(key_dir ${KEY} DIRECTORY)
    file(MAKE_DIRECTORY ${key_dir})
    execute_process(COMMAND ${SIGN} keygen ${KEY} RESULT_VARIABLE failed OUTPUT_QUIET)
    if(failed)
        message(FATAL_ERROR "pebblo-sign keygen ${KEY} failed")
    endif()
endif()
file(READ ${KEY}.pub KEY_HEX)
string(STRIP "${KEY_HEX}" KEY_HEX)
include(${CMAKE_CURRENT_LIST_DIR}/WriteUpdateKeyHeader.cmake)
