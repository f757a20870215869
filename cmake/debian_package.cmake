# The Debian package vell-tools_VERSION_ARCH.deb of the host tools vellconvert,
# vellmake and velldump, made by CPack's DEB generator:
#   cmake --build --preset native --target package
# Its dependencies are computed by dpkg-shlibdeps from the libraries the
# programs link (cairo, fontconfig, FreeType, the C++ runtime), plus the
# fonts vellconvert draws the standard families with.
install(TARGETS vellconvert vellmake velldump RUNTIME DESTINATION bin)
# The changelog, compressed as Debian packages carry it.
configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/debian/changelog RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "cannot compress the package's changelog")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION share/doc/vell-tools)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vell-tools)
set(CPACK_PACKAGE_VENDOR vell)
set(CPACK_PACKAGE_CONTACT "vell maintainers <maintainers@vell.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert, make and describe vell print-preview documents")
set(CPACK_PACKAGE_DESCRIPTION
  "vellconvert converts vell print-preview documents (.vel) to PDF, PNG, SVG\n\
or text through the viewer's own page interpreter on cairo. vellmake\n\
compiles a JSON description into a document; velldump describes a document\n\
as JSON.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
include(CPack)

# The package's check; ./test builds the package target before the tests.
add_test(NAME deb.package
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/deb/check_deb.sh ${CPACK_PACKAGE_DIRECTORY} ${PROJECT_VERSION})
set_tests_properties(deb.package PROPERTIES TIMEOUT 240)
