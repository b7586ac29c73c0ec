# Warnings every target of ours compiles with; -Werror when TULMERA_WERROR is on.
function(tulmera_defaults target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wdouble-promotion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual
    $<$<BOOL:${TULMERA_WERROR}>:-Werror>)
endfunction()

# One static library of the numeric core: tulmera_library(NAME SOURCES ... LIBS ...)
function(tulmera_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  tulmera_defaults(${name})
endfunction()
