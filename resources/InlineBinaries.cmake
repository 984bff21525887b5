# cmake -DIN=<layout> -DOUT=<generated layout> -DSOURCE_DIR=<resources> -DBINARY_DIR=<build/resources>
#         -P InlineBinaries.cmake
# Replaces every {@path} of a layout by {@NAME}, the resource that holds the file's bytes, and
# copies the file to BINARY_DIR/layout-data/NAME for the resource script: the build's own file
# under BINARY_DIR when there is one, else the source file under SOURCE_DIR. A missing file
# gives an empty value. The outputs are rewritten only when they change.
include("${CMAKE_CURRENT_LIST_DIR}/LayoutBinaries.cmake")
file(READ "${IN}" text)
velmo_layout_binary_paths("${IN}" paths)
foreach(path IN LISTS paths)
  velmo_layout_binary_name("${path}" name)
  set(data "${BINARY_DIR}/layout-data/${name}")
  set(source "")
  if(EXISTS "${BINARY_DIR}/${path}")
    set(source "${BINARY_DIR}/${path}")
  elseif(EXISTS "${SOURCE_DIR}/${path}")
    set(source "${SOURCE_DIR}/${path}")
  endif()
  if(source)
    file(COPY_FILE "${source}" "${data}" ONLY_IF_DIFFERENT)
    string(REPLACE "{@${path}}" "{@${name}}" text "${text}")
  else()
    message(STATUS "layout: ${path} does not exist yet; its value stays empty")
    file(WRITE "${data}" "")
    string(REPLACE "{@${path}}" "{}" text "${text}")
  endif()
endforeach()
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
