# velmo_delay_import(<name> <dll> <function>@<argument bytes>...): an interface library <name>
# that imports the functions from <dll> through mingw's delay-load helper, so the DLL (and
# whatever it pulls in) is loaded on the first call instead of at the program's start. The
# argument bytes decorate the 32-bit names; the 64-bit build has none.
function(velmo_delay_import name dll)
  set(def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(function IN LISTS ARGN)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      string(REGEX REPLACE "@[0-9]+$" "" function "${function}")
    endif()
    string(APPEND def "  ${function}\n")
  endforeach()
  set(def_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  file(CONFIGURE OUTPUT ${def_file} CONTENT "${def}")
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
  set(kill_at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at --kill-at)
  endif()
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def_file} --dllname ${dll} ${kill_at}
            --output-delaylib ${lib}
    DEPENDS ${def_file}
    VERBATIM)
  add_custom_target(${name}_import DEPENDS ${lib})
  add_library(${name} INTERFACE)
  add_dependencies(${name} ${name}_import)
  target_link_libraries(${name} INTERFACE ${lib})
endfunction()
