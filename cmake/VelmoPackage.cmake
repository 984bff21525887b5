# The program folder as a zip a user unpacks (see VelmoRelease.cmake for the names).
# Include once before the folders (VELMO_PACKAGE_NAME, VELMO_ZIP), call velmo_package() after them.
set(VELMO_PACKAGE_NAME ${VELMO_RELEASE_NAME})
set(VELMO_ZIP ${VELMO_RELEASE_ZIP})

function(velmo_package)
  get_property(targets GLOBAL PROPERTY VELMO_DIST_TARGETS)
  get_property(files GLOBAL PROPERTY VELMO_DIST_FILES)
  set(depends ${targets} ${CMAKE_SOURCE_DIR}/cmake/PackageDist.cmake)
  if(TARGET engine)
    list(APPEND files engine/ffmpeg.exe)
    list(APPEND depends engine ${VELMO_DIST_DIR}/engine/ffmpeg.exe)
  endif()
  set(stage ${CMAKE_BINARY_DIR}/package)
  file(MAKE_DIRECTORY ${stage})
  add_custom_command(OUTPUT ${VELMO_ZIP}
    COMMAND ${CMAKE_COMMAND} -DDIST=${VELMO_DIST_DIR} -DSTAGE=${stage}
            -DNAME=${VELMO_PACKAGE_NAME} -DZIP=${VELMO_ZIP} "-DFILES=${files}"
            -P ${CMAKE_SOURCE_DIR}/cmake/PackageDist.cmake
    DEPENDS ${depends}
    WORKING_DIRECTORY ${stage}
    COMMENT "Packing ${VELMO_PACKAGE_NAME}.zip"
    VERBATIM)
  add_custom_target(velmo_zip ALL DEPENDS ${VELMO_ZIP})
endfunction()
