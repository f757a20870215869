# Delay-loaded system libraries for the Windows builds.
#
# vell.exe must not load a library of these names from its own folder (a
# copy planted beside a self-extracting viewer in a downloads folder would
# run inside it). Its first act is SetDefaultDllDirectories with the system
# folder only (src/startup/main_win.cpp); every library imported at load
# time would already be loaded by then, so these are imported through
# delay-load libraries instead: the first call into one loads it, from the
# system folder. comdlg32 is among them because it imports comctl32 and
# winspool itself.
#
# The delay-load libraries are made at build time with dlltool from a list
# of every function the toolchain's own import library names (its __imp_
# symbols), so the list never needs keeping up by hand.

set(VELL_DELAY_LOADED comctl32:comctl32.dll comdlg32:comdlg32.dll winspool:winspool.drv
    shell32:shell32.dll)

if(NOT CMAKE_DLLTOOL)
  string(REGEX REPLACE "g(cc|\\+\\+)$" "dlltool" CMAKE_DLLTOOL "${CMAKE_CXX_COMPILER}")
endif()

set(VELL_DELAY_LIBRARIES)
foreach(entry ${VELL_DELAY_LOADED})
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 name)
  list(GET parts 1 dll)
  find_library(VELL_IMPORT_LIB_${name} NAMES lib${name}.a REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} ${VELL_IMPORT_LIB_${name}}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
  if(NOT nm_result EQUAL 0)
    message(FATAL_ERROR "cannot list ${VELL_IMPORT_LIB_${name}}")
  endif()
  string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
  set(def "LIBRARY \"${dll}\"\nEXPORTS\n")
  foreach(import ${imports})
    string(REGEX REPLACE "^ I __imp_" "" symbol "${import}")
    # i686 symbols carry the C underscore (__imp__Name@N); the list names
    # them without it.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^_" "" symbol "${symbol}")
    endif()
    string(APPEND def "${symbol}\n")
  endforeach()
  set(def_file ${CMAKE_BINARY_DIR}/delay/${name}.def)
  set(lib_file ${CMAKE_BINARY_DIR}/delay/lib${name}_delay.a)
  file(WRITE ${def_file} "${def}")
  # -k: the i686 names are imported without their @N decoration.
  set(kill_at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at -k)
  endif()
  add_custom_command(OUTPUT ${lib_file}
    COMMAND ${CMAKE_DLLTOOL} ${kill_at} --def ${def_file} --dllname ${dll} --output-delaylib ${lib_file}
    DEPENDS ${def_file}
    COMMENT "Delay-load library for ${dll}")
  add_custom_target(delay_${name} DEPENDS ${lib_file})
  add_library(vell_delay_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(vell_delay_${name} PROPERTIES IMPORTED_LOCATION ${lib_file})
  add_dependencies(vell_delay_${name} delay_${name})
  list(APPEND VELL_DELAY_LIBRARIES vell_delay_${name})
endforeach()
