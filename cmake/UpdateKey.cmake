# The public key the client trusts for its upgrades. A vendor's build sets
# PEBBLO_UPDATE_PUBLIC_KEY (64 hexadecimal digits); without it the build makes a demo key pair
# once, its secret half in upgrade-demo/update.key (never in the program folder), with which
# the demo catalogue signs its offer.
set(PEBBLO_UPDATE_PUBLIC_KEY "" CACHE STRING
    "Ed25519 public key (hex) of the upgrade signatures; empty: the build's demo key")
set(PEBBLO_UPDATE_KEY_HEADER ${CMAKE_BINARY_DIR}/generated/upgrade/update_public_key.h)

if(PEBBLO_UPDATE_PUBLIC_KEY)
    string(LENGTH "${PEBBLO_UPDATE_PUBLIC_KEY}" key_length)
    if(NOT key_length EQUAL 64 OR NOT PEBBLO_UPDATE_PUBLIC_KEY MATCHES "^[0-9a-fA-F]+$")
        message(FATAL_ERROR "PEBBLO_UPDATE_PUBLIC_KEY must be 64 hexadecimal digits")
    endif()
    set(KEY_HEX ${PEBBLO_UPDATE_PUBLIC_KEY})
    set(HEADER ${PEBBLO_UPDATE_KEY_HEADER})
    include(${CMAKE_CURRENT_LIST_DIR}/WriteUpdateKeyHeader.cmake)
    add_custom_target(pebblo_update_key_header)
else()
    add_custom_target(pebblo_update_key_header ALL
        BYPRODUCTS ${PEBBLO_UPDATE_KEY_HEADER}
        COMMAND ${CMAKE_COMMAND} -DSIGN=$<TARGET_FILE:pebblo-sign>
                -DKEY=${PEBBLO_UPGRADE_DEMO_DIR}/update.key -DHEADER=${PEBBLO_UPDATE_KEY_HEADER}
                -P ${CMAKE_CURRENT_LIST_DIR}/DemoUpdateKey.cmake
        DEPENDS pebblo-sign
        COMMENT "The demo upgrade key")
endif()
