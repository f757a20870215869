# vell_version_resource(TARGET DESCRIPTION): gives a Windows program a version
# resource with the product name, the project version (CMakeLists.txt) as
# file and product version, and DESCRIPTION as its file description. Does
# nothing in host builds, so a tool built for both can always call it.
function(vell_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(VELL_FILE_DESCRIPTION "${description}")
  set(VELL_FILE_NAME "${target}.exe")
  set(rc ${CMAKE_BINARY_DIR}/generated/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
