# Helpers shared by every folder's CMakeLists.txt.

# velmo_test(<name> SOURCES ... [LIBS ...] [NATIVE] [TIMEOUT s] [PROPERTIES ...])
#   A GoogleTest program. NATIVE tests build and run in the native sanitizer build only;
#   all others build for Windows and run under Wine through CTest's emulator.
function(velmo_test name)
  cmake_parse_arguments(T "NATIVE" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(T_NATIVE AND NOT VELMO_NATIVE)
    return()
  endif()
  if(NOT T_NATIVE AND VELMO_NATIVE)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE VELMO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             VELMO_DIST_DIR="${VELMO_DIST_DIR}")
  if(NOT VELMO_NATIVE)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT ${T_TIMEOUT} ${T_PROPERTIES})
endfunction()

# velmo_dist(<target> [ALSO <file name>...]): the target's executable is part of the program
# folder, stripped: its debug information stays beside the build in debug/<file>.debug, which
# a debugger finds through the executable's debug link. ALSO names copies of it in the folder.
function(velmo_dist target)
  cmake_parse_arguments(D "" "" "ALSO" ${ARGN})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMO_DIST_DIR})
  set(debug ${CMAKE_BINARY_DIR}/debug/$<TARGET_FILE_NAME:${target}>.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debug
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug}
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${debug} $<TARGET_FILE:${target}>
    VERBATIM)
  foreach(copy IN LISTS D_ALSO)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${VELMO_DIST_DIR}/${copy}
      VERBATIM)
  endforeach()
  set_property(GLOBAL APPEND PROPERTY VELMO_DIST_TARGETS ${target})
  set_property(GLOBAL APPEND PROPERTY VELMO_DIST_FILES $<TARGET_FILE_NAME:${target}> ${D_ALSO})
endfunction()
