# Version resources of the shipped executables (resources/VersionInfo.rc.in), filled from the
# release facts in VelmoRelease.cmake, so that a file's properties, the installer and the
# installed-programs entry all show the version the zip is named after.

# velmo_version_rc(<out var> <file name> <description>): writes the resource script for one
# executable into the current binary folder and names it in <out var>.
function(velmo_version_rc out file description)
  set(VERSION_FILE_NAME ${file})
  get_filename_component(VERSION_INTERNAL_NAME ${file} NAME_WE)
  set(VERSION_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${VERSION_INTERNAL_NAME}.version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/VersionInfo.rc.in ${rc} @ONLY)
  set(${out} ${rc} PARENT_SCOPE)
endfunction()

# velmo_version_resource(<target> <file name> <description>): links that resource into a target
# (RC is enabled by the top-level CMakeLists.txt).
function(velmo_version_resource target file description)
  velmo_version_rc(rc ${file} "${description}")
  target_sources(${target} PRIVATE ${rc})
endfunction()
