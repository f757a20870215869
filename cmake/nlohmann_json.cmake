# nlohmann-json, header-only (Debian nlohmann-json3-dev, tools/install-deps.sh),
# as the interface target vell_nlohmann_json for the tools that read and
# write JSON. The MinGW builds must not search the host's /usr/include, whose
# C library headers would stand in for MinGW's; they get a folder of their
# own in the build tree that holds only a link to the nlohmann headers.
if(TARGET vell_nlohmann_json)
  return()
endif()
find_path(VELL_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELL_NLOHMANN_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found: run tools/install-deps.sh (package nlohmann-json3-dev)")
endif()
set(VELL_NLOHMANN_JSON_LINKS ${CMAKE_BINARY_DIR}/third-party/include)
file(MAKE_DIRECTORY ${VELL_NLOHMANN_JSON_LINKS})
file(CREATE_LINK ${VELL_NLOHMANN_JSON_INCLUDE}/nlohmann ${VELL_NLOHMANN_JSON_LINKS}/nlohmann SYMBOLIC)
add_library(vell_nlohmann_json INTERFACE)
target_include_directories(vell_nlohmann_json SYSTEM INTERFACE ${VELL_NLOHMANN_JSON_LINKS})
