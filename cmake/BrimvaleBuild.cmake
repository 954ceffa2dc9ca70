# Project-wide compile settings and the guard that keeps Qt out of the plain libraries.

add_compile_options(-Wall -Wextra -Werror)
if(BRIMVALE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # GCC's flow analysis reports false "may be used uninitialized" inside the standard library
  # (std::regex, std::function) once the sanitizers instrument it.
  add_compile_options(-Wno-maybe-uninitialized)
endif()

# brimvale_forbid_qt(target): the target's sources may not include a Qt header.
# The check runs on every build, so a new include fails the build at once.
function(brimvale_forbid_qt target)
  get_target_property(srcs ${target} SOURCES)
  set(files "")
  foreach(s IN LISTS srcs)
    get_filename_component(abs ${s} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND files ${abs})
  endforeach()
  file(GLOB headers ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(APPEND files ${headers})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_no_qt.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFILES="${files}" -DSTAMP=${stamp}
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckNoQt.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/CheckNoQt.cmake
    COMMENT "Checking that ${target} includes no Qt header")
  add_custom_target(${target}_no_qt DEPENDS ${stamp})
  add_dependencies(${target} ${target}_no_qt)
endfunction()
