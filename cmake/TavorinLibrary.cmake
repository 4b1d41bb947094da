# tavorin_add_library(NAME SOURCES... LINKS libs... [PRIVATE libs...]): one of the program's
# static libraries. Its headers are included by their path from the project's root, and it
# and whatever links it build with the project's warnings and sanitizers. LINKS are public
# unless after PRIVATE.
function(tavorin_add_library name)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC tavorin_options ${ARG_LINKS})
endfunction()
