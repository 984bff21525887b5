# What a release consists of, for either build. Both builds' program folders and zips lie side
# by side in one release folder (VELMO_RELEASE_DIR, the 32-bit tree's own folder):
#   32-bit (the product): dist/    VelmoConvert-<version>.zip      holding VelmoConvert-<version>/
#   64-bit:               dist64/  VelmoConvert-<version>-x64.zip  holding VelmoConvert-<version>-x64/
# The version is the one the main window shows (TntLabel3's caption in its layout).
file(READ ${CMAKE_SOURCE_DIR}/resources/MainWindow.layout layout)
string(FIND "${layout}" "object TntLabel3:" label)
string(SUBSTRING "${layout}" ${label} -1 layout)
string(REGEX MATCH "Caption = '([0-9]+(\\.[0-9]+)+)" caption "${layout}")
if(label EQUAL -1 OR NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "no version in the main window's layout (TntLabel3)")
endif()
set(VELMO_VERSION ${CMAKE_MATCH_1})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/resources/MainWindow.layout)

# velmo_release_paths(<32|64> <prefix>): <prefix>_DIST (program folder), <prefix>_NAME (the
# folder in the zip) and <prefix>_ZIP, in VELMO_RELEASE_DIR.
function(velmo_release_paths bits prefix)
  if(bits EQUAL 64)
    set(folder dist64)
    set(name VelmoConvert-${VELMO_VERSION}-x64)
  else()
    set(folder dist)
    set(name VelmoConvert-${VELMO_VERSION})
  endif()
  set(${prefix}_DIST ${VELMO_RELEASE_DIR}/${folder} PARENT_SCOPE)
  set(${prefix}_NAME ${name} PARENT_SCOPE)
  set(${prefix}_ZIP ${VELMO_RELEASE_DIR}/${name}.zip PARENT_SCOPE)
endfunction()
