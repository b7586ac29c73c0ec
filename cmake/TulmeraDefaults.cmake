# Warnings every target of ours compiles with; -Werror when TULMERA_WERROR is on.
function(tulmera_defaults target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wdouble-promotion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual
    $<$<BOOL:${TULMERA_WERROR}>:-Werror>)
endfunction()

# One static library of a room: tulmera_library(NAME [AUTOMOC] SOURCES ... LIBS ...).
# AUTOMOC for the Qt rooms whose classes declare signals and slots.
function(tulmera_library name)
  cmake_parse_arguments(ARG "AUTOMOC" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  if(ARG_AUTOMOC)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  tulmera_defaults(${name})
endfunction()
