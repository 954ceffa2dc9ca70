# The library helper and the checks it shares with the test and benchmark helpers. It needs
# nothing else, so a small project can include it alone (tests/cmake does).

# Stops the configuration unless every name is a target (a library made or found earlier).
function(brimvale_require_targets)
  foreach(lib IN LISTS ARGN)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "'${lib}' is not a target; misspelt, or its folder comes later")
    endif()
  endforeach()
endfunction()

# Stops the configuration unless every source (relative to this folder) exists.
function(brimvale_require_sources)
  foreach(s IN LISTS ARGN)
    get_filename_component(abs ${s} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(NOT EXISTS ${abs})
      message(FATAL_ERROR "Source '${s}' does not exist in ${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
  endforeach()
endfunction()

# brimvale_parse_target_args(call options lists ARGN...): reads the arguments of a call of
# brimvale_library or brimvale_test into ARG_<option> and ARG_<list>, and stops the configuration
# on a word it does not know, on no SOURCES, on a missing source or on a library that is no target.
# `call` ("brimvale_test(name)") names the call in the message. A macro, so that ARG_* are set
# where it is called.
macro(brimvale_parse_target_args call options lists)
  cmake_parse_arguments(ARG "${options}" "" "${lists}" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_SOURCES)
    message(FATAL_ERROR "${call}: give SOURCES and LIBS, got ${ARGN}")
  endif()
  brimvale_require_sources(${ARG_SOURCES})
  brimvale_require_targets(${ARG_LIBS})
endmacro()

# brimvale_library(name SOURCES file... LIBS target... [NO_QT | NO_WIDGETS]): a static library of
# the listed sources of this folder (headers included, so that the checks see them); the folder
# is its public include directory. A missing source or a library that is no target stops the
# configuration. NO_QT fails the build on any Qt include (the plain libraries), NO_WIDGETS on an
# include of Qt Gui or Qt Widgets (the widget-free layers).
function(brimvale_library name)
  brimvale_parse_target_args("brimvale_library(${name})" "NO_QT;NO_WIDGETS" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  if(ARG_NO_QT)
    brimvale_forbid_includes(${name} "${BRIMVALE_QT_HEADERS}" "a Qt header")
  endif()
  if(ARG_NO_WIDGETS)
    brimvale_forbid_includes(${name} "${BRIMVALE_QT_WIDGET_HEADERS}" "a Qt Gui or Widgets header")
  endif()
endfunction()
