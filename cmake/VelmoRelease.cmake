# What a release consists of, for either build. Both builds' program folders and zips lie side
# by side in one release folder (VELMO_RELEASE_DIR, the 32-bit tree's own folder):
#   32-bit (the product): dist/    VelmoConvert-<version>.zip      holding VelmoConvert-<version>/
#   64-bit:               dist64/  VelmoConvert-<version>-x64.zip  holding VelmoConvert-<version>-x64/
# and each build's setup program: VelmoConvert-<version>-setup.exe, VelmoConvert-<version>-x64-setup.exe.
# The version is the one the main window shows (TntLabel3's caption in its layout).
file(READ ${CMAKE_SOURCE_DIR}/resources/MainWindow.layout layout)
string(FIND "${layout}" "object TntLabel3:" label)
string(SUBSTRING "${layout}" ${label} -1 layout)
string(REGEX MATCH "Caption = '([0-9]+(\\.[0-9]+)+)" caption "${layout}")
if(label EQUAL -1 OR NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "no version in the main window's layout (TntLabel3)")
endif()
set(VELMO_VERSION ${CMAKE_MATCH_1})
# Windows wants four numbers in a version resource.
string(REPLACE "." "," VELMO_VERSION_COMMAS "${VELMO_VERSION},0,0,0")
string(REGEX MATCH "^[0-9]+,[0-9]+,[0-9]+,[0-9]+" VELMO_VERSION_COMMAS "${VELMO_VERSION_COMMAS}")
# What the version resources, the installers and the installed-programs entry call us.
set(VELMO_PRODUCT_NAME "Velmo转换")
set(VELMO_PUBLISHER "Velmo")
set(VELMO_COPYRIGHT "Copyright © Velmo")
set(VELMO_SITE "http://www.velmo.example/")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/resources/MainWindow.layout)

# velmo_release_paths(<32|64> <prefix>): <prefix>_DIST (program folder), <prefix>_NAME (the
# folder in the zip), <prefix>_ZIP and <prefix>_SETUP, in VELMO_RELEASE_DIR.
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
  set(${prefix}_SETUP ${VELMO_RELEASE_DIR}/${name}-setup.exe PARENT_SCOPE)
endfunction()
