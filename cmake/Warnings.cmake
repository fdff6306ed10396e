# Strict warnings for our own targets. C_HEADERS relaxes the checks that the xcb C headers trip.
function(stashwell_warnings target)
    cmake_parse_arguments(arg "C_HEADERS" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Woverloaded-virtual -Wimplicit-fallthrough)
    if(NOT arg_C_HEADERS)
        target_compile_options(${target} PRIVATE -Wold-style-cast)
    endif()
    if(STASHWELL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
