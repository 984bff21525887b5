# cmake -DIN=<layout> -DOUT=<generated layout> -DSOURCE_DIR=<resources> -DBINARY_DIR=<build/resources>
#         -P InlineBinaries.cmake
# Replaces every {@path} of a layout by the file's bytes in hexadecimal: the build's own
# file under BINARY_DIR when there is one, else the source file under SOURCE_DIR. A missing
# file gives an empty value. The output is rewritten only when it changes.
file(READ "${IN}" text)
string(REGEX MATCHALL "{@[^}]+}" refs "${text}")
list(REMOVE_DUPLICATES refs)
foreach(ref IN LISTS refs)
  string(REGEX REPLACE "^{@(.*)}$" "\\1" path "${ref}")
  set(hex "")
  if(EXISTS "${BINARY_DIR}/${path}")
    file(READ "${BINARY_DIR}/${path}" hex HEX)
  elseif(EXISTS "${SOURCE_DIR}/${path}")
    file(READ "${SOURCE_DIR}/${path}" hex HEX)
  else()
    message(STATUS "layout: ${path} does not exist yet; its value stays empty")
  endif()
  string(TOUPPER "${hex}" hex)
  # 64 bytes a line keeps the generated layout readable.
  string(REGEX REPLACE "([0-9A-F]{128})" "\\1\n" hex "${hex}")
  string(REPLACE "${ref}" "{${hex}}" text "${text}")
endforeach()
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
