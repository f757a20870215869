# cairo and pixman for the Windows builds, static, made by our own build from
# Debian's source packages (tools/thirdparty/). They are built once per build
# folder, at configure time, and reused: a stamp records what was built, so
# later configures and every ./test find them ready. The logs stay in
# <build>/thirdparty/cairo/logs.
#
# Defines the target vell_cairo_win: cairo's headers and the static link.

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(VELL_MINGW_HOST x86_64-w64-mingw32)
else()
  set(VELL_MINGW_HOST i686-w64-mingw32)
endif()

set(VELL_THIRDPARTY_TOOLS ${CMAKE_SOURCE_DIR}/tools/thirdparty)
# One download serves every build folder of the checkout.
set(VELL_DEBIAN_SOURCES ${CMAKE_SOURCE_DIR}/build/debian-sources)
set(VELL_CAIRO_PREFIX ${CMAKE_BINARY_DIR}/thirdparty/cairo)
# The stamp names the scripts' contents: changing how the libraries are
# built builds them again.
file(SHA256 ${VELL_THIRDPARTY_TOOLS}/build-cairo.sh _vell_build_hash)
file(SHA256 ${VELL_THIRDPARTY_TOOLS}/fetch-sources.sh _vell_fetch_hash)
file(SHA256 ${VELL_THIRDPARTY_TOOLS}/cairo-pdf-widths.patch _vell_patch_hash)
set(_vell_stamp_text "${VELL_MINGW_HOST} ${_vell_build_hash} ${_vell_fetch_hash} ${_vell_patch_hash}")
set(_vell_stamp ${VELL_CAIRO_PREFIX}/built.stamp)
set(_vell_stamp_old "")
if(EXISTS ${_vell_stamp})
  file(READ ${_vell_stamp} _vell_stamp_old)
endif()

if(NOT _vell_stamp_old STREQUAL _vell_stamp_text)
  message(STATUS "Building cairo and pixman for ${VELL_MINGW_HOST} (once per build folder; logs in ${VELL_CAIRO_PREFIX}/logs)")
  file(REMOVE_RECURSE ${VELL_CAIRO_PREFIX})
  file(MAKE_DIRECTORY ${CMAKE_SOURCE_DIR}/build)
  execute_process(
    COMMAND flock ${CMAKE_SOURCE_DIR}/build/debian-sources.lock
            ${VELL_THIRDPARTY_TOOLS}/fetch-sources.sh ${VELL_DEBIAN_SOURCES}
    RESULT_VARIABLE _vell_result)
  if(NOT _vell_result EQUAL 0)
    message(FATAL_ERROR "Fetching Debian's cairo and pixman sources failed")
  endif()
  execute_process(
    COMMAND ${VELL_THIRDPARTY_TOOLS}/build-cairo.sh ${VELL_MINGW_HOST} ${VELL_DEBIAN_SOURCES}
            ${VELL_CAIRO_PREFIX}
    RESULT_VARIABLE _vell_result)
  if(NOT _vell_result EQUAL 0)
    message(FATAL_ERROR "Building cairo for ${VELL_MINGW_HOST} failed; see ${VELL_CAIRO_PREFIX}/logs")
  endif()
  file(WRITE ${_vell_stamp} "${_vell_stamp_text}")
endif()

# stb_image is header-only; the host links Debian's libstb, the Windows
# builds compile its decoder here, for Windows bitmap files only (the only
# pictures a page has).
set(_vell_stb_source ${CMAKE_BINARY_DIR}/thirdparty/stb_image_bmp.c)
if(NOT EXISTS ${_vell_stb_source})
  file(WRITE ${_vell_stb_source}
    "#define STB_IMAGE_IMPLEMENTATION\n#define STBI_ONLY_BMP\n#define STBI_NO_STDIO\n#include <stb_image.h>\n")
endif()
add_library(vell_stb_image STATIC ${_vell_stb_source})
target_include_directories(vell_stb_image SYSTEM PRIVATE /usr/include/stb)

add_library(vell_cairo_win INTERFACE)
target_include_directories(vell_cairo_win SYSTEM INTERFACE
  ${VELL_CAIRO_PREFIX}/include/cairo
  # stb_image is header-only C: only its own folder of the host's headers.
  /usr/include/stb)
target_compile_definitions(vell_cairo_win INTERFACE CAIRO_WIN32_STATIC_BUILD)
# cairo's win32 surface and font backend call GDI and AlphaBlend (msimg32).
target_link_libraries(vell_cairo_win INTERFACE
  ${VELL_CAIRO_PREFIX}/lib/libcairo.a
  ${VELL_CAIRO_PREFIX}/lib/libpixman-1.a
  /usr/${VELL_MINGW_HOST}/lib/libz.a
  gdi32 msimg32
  vell_stb_image)
