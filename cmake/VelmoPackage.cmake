# The program folder as a zip a user unpacks: build/VelmoConvert-<version>.zip, holding one
# folder of that name. The version is the one the main window shows (TntLabel3's caption).
# Include once before the folders (VELMO_VERSION, VELMO_ZIP), call velmo_package() after them.
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
set(VELMO_PACKAGE_NAME VelmoConvert-${VELMO_VERSION})
set(VELMO_ZIP ${CMAKE_BINARY_DIR}/${VELMO_PACKAGE_NAME}.zip)

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
