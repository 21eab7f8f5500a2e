# Ruffle, the WebAssembly Flash player, comes from npm at the version pinned in
# package-lock.json (scripts/setup-deps runs npm ci). The build copies it with our host page
# into the program folder's ruffle/.
set(PEBBLO_RUFFLE_PACKAGE ${CMAKE_SOURCE_DIR}/node_modules/@ruffle-rs/ruffle)
set(PEBBLO_RUFFLE_LOCK ${CMAKE_SOURCE_DIR}/package-lock.json)
if(NOT EXISTS ${PEBBLO_RUFFLE_PACKAGE}/ruffle.js)
    message(FATAL_ERROR "Ruffle is not installed in ${PEBBLO_RUFFLE_PACKAGE}: run scripts/setup-deps")
endif()
if(${PEBBLO_RUFFLE_LOCK} IS_NEWER_THAN ${CMAKE_SOURCE_DIR}/node_modules/.package-lock.json)
    message(FATAL_ERROR "package-lock.json changed since node_modules was installed: run scripts/setup-deps")
endif()

# The entry script loads its chunks and wasm by their hashed names; source maps stay behind.
file(GLOB PEBBLO_RUFFLE_FILES CONFIGURE_DEPENDS
    ${PEBBLO_RUFFLE_PACKAGE}/*.js ${PEBBLO_RUFFLE_PACKAGE}/*.wasm ${PEBBLO_RUFFLE_PACKAGE}/LICENSE_*)
set(PEBBLO_PLAYER_PAGE ${CMAKE_SOURCE_DIR}/assets/player/player.html)
set(PEBBLO_RUFFLE_DIR ${PEBBLO_PROGRAM_DIR}/ruffle)
set(PEBBLO_RUFFLE_STAMP ${CMAKE_CURRENT_BINARY_DIR}/ruffle.stamp)

# Emptied first so that the chunks of an older Ruffle do not linger.
add_custom_command(OUTPUT ${PEBBLO_RUFFLE_STAMP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PEBBLO_RUFFLE_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PEBBLO_RUFFLE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${PEBBLO_RUFFLE_FILES} ${PEBBLO_PLAYER_PAGE} ${PEBBLO_RUFFLE_DIR}/
    COMMAND ${CMAKE_COMMAND} -E touch ${PEBBLO_RUFFLE_STAMP}
    DEPENDS ${PEBBLO_RUFFLE_FILES} ${PEBBLO_PLAYER_PAGE} ${PEBBLO_RUFFLE_LOCK}
    COMMENT "Copying Ruffle and the player page into the program folder")
add_custom_target(pebblo_ruffle ALL DEPENDS ${PEBBLO_RUFFLE_STAMP})
