# What the demo catalogue offers as an upgrade (scripts/demo serves it with --data): version 3.8
# of the client, the same libraries linked with a newer version object, and a data file that the
# catalogue makes up. Included by src/shell, beside the client's own target.

add_library(pebblo_version_next OBJECT ${CMAKE_SOURCE_DIR}/src/shell/program_version.cpp)
target_include_directories(pebblo_version_next PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(pebblo_version_next PRIVATE
    PEBBLO_VERSION_NUMBER="3.8" PEBBLO_VERSION_DATE="01/15/2009")
target_link_libraries(pebblo_version_next PRIVATE Qt6::Core)
pebblo_warnings(pebblo_version_next)

# Its own version object comes first, so the one in pebblo_version's archive is never taken.
add_executable(pebblo_next ${CMAKE_SOURCE_DIR}/src/shell/main.cpp
    $<TARGET_OBJECTS:pebblo_version_next>)
pebblo_warnings(pebblo_next)
target_link_libraries(pebblo_next PRIVATE pebblo_shell upgrader_resource)
set_target_properties(pebblo_next PROPERTIES
    OUTPUT_NAME pebblo RUNTIME_OUTPUT_DIRECTORY ${PEBBLO_UPGRADE_DEMO_DIR}/files)

file(WRITE ${PEBBLO_UPGRADE_DEMO_DIR}/update.conf
    "# The demo catalogue's upgrade offer, written by the build.\n"
    "version=3.8\n"
    "date=01/15/2009\n"
    "method=0\n"
    "message=Pebblo客户端 3.8：\\n游戏下载更快，本地游戏一页看全。\n"
    "files=pebblo,readme.txt\n")

# An upgrade in the demo puts the 3.8 client into the program folder. Every build puts back the
# client it built, which it keeps a copy of, so tests and the next demo start from version 3.7.
set(PEBBLO_BUILT_CLIENT ${PEBBLO_UPGRADE_DEMO_DIR}/built/pebblo)
add_custom_command(TARGET pebblo POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PEBBLO_UPGRADE_DEMO_DIR}/built
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pebblo> ${PEBBLO_BUILT_CLIENT})
add_custom_target(pebblo_restore_client ALL
    COMMAND ${CMAKE_COMMAND} -DFROM=${PEBBLO_BUILT_CLIENT} -DTO=$<TARGET_FILE:pebblo>
            -P ${CMAKE_SOURCE_DIR}/cmake/RestoreFile.cmake)
add_dependencies(pebblo_restore_client pebblo)
