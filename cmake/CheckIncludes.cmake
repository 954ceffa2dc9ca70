# Run by the build (cmake -P) for one library: fails when one of FILES includes a header whose
# name (what stands between <> or "") matches the regular expression PATTERN. WHAT names the
# forbidden headers and TARGET the library in the message; STAMP is touched when all is well.
foreach(f IN LISTS FILES)
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${PATTERN})[>\"]")
  if(hits)
    message(FATAL_ERROR "${f} includes ${WHAT}, which ${TARGET} must not: ${hits}")
  endif()
endforeach()
file(TOUCH ${STAMP})
