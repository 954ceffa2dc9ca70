# Project-wide compile settings, and the include checks that keep each layer to what it may use.

add_compile_options(-Wall -Wextra -Werror)
if(BRIMVALE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # GCC's flow analysis reports false "may be used uninitialized" inside the standard library
  # (std::regex, std::function) once the sanitizers instrument it.
  add_compile_options(-Wno-maybe-uninitialized)
endif()

# A name given to target_link_libraries must be a target: a misspelt library stops the
# configuration instead of turning into a plain "-l" flag.
set(CMAKE_LINK_LIBRARIES_ONLY_TARGETS ON)

# Include patterns (regular expressions for the header name) that brimvale_forbid_includes takes.
#  - BRIMVALE_QT_HEADERS: any Qt header (QString, QtCore/QDate, ...); the plain libraries.
#  - BRIMVALE_QT_WIDGET_HEADERS: the headers of Qt Gui and Qt Widgets, by module (QtWidgets/...,
#    QtGui) or by class (QWidget, QDialog, QColor, qpainter.h, ...), read from the installed
#    Qt; the widget-free layers, which may use Qt Core.
set(BRIMVALE_QT_HEADERS "Q[A-Za-z]+|Qt[A-Za-z]*/.*")
function(brimvale_collect_widget_headers out)
  set(names "")
  foreach(module Gui Widgets)
    get_target_property(dirs Qt5::${module} INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS dirs)
      if(dir MATCHES "/Qt${module}$")
        file(GLOB headers RELATIVE ${dir} ${dir}/*)
        list(APPEND names ${headers})
      endif()
    endforeach()
  endforeach()
  if(NOT names)
    message(FATAL_ERROR "No Qt Gui or Qt Widgets headers found to forbid in the widget-free layers")
  endif()
  list(REMOVE_DUPLICATES names)
  list(JOIN names "|" alternatives)
  string(REPLACE "." "\\." alternatives "${alternatives}")
  set(${out} "(QtGui|QtWidgets)(/.*)?|${alternatives}" PARENT_SCOPE)
endfunction()
brimvale_collect_widget_headers(BRIMVALE_QT_WIDGET_HEADERS)

# brimvale_forbid_includes(target pattern what): no source of the target may include a header
# whose name matches `pattern`; `what` names those headers in the failure. The check runs as
# part of every build of the target, so a new include fails the build at once.
function(brimvale_forbid_includes target pattern what)
  get_target_property(srcs ${target} SOURCES)
  set(files "")
  foreach(s IN LISTS srcs)
    get_filename_component(abs ${s} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND files ${abs})
  endforeach()
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_includes.stamp)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_includes.cmake)
  file(CONFIGURE OUTPUT ${script} @ONLY CONTENT [==[
set(TARGET [=[@target@]=])
set(FILES [=[@files@]=])
set(PATTERN [=[@pattern@]=])
set(WHAT [=[@what@]=])
set(STAMP [=[@stamp@]=])
include([=[@BRIMVALE_CHECK_INCLUDES@]=])
]==])
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -P ${script}
    DEPENDS ${files} ${script} ${BRIMVALE_CHECK_INCLUDES}
    COMMENT "Checking the includes of ${target}")
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()
set(BRIMVALE_CHECK_INCLUDES ${CMAKE_CURRENT_LIST_DIR}/CheckIncludes.cmake)
