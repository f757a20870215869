# The print cases (cases_print.sh) print through a real spooler: a CUPS
# scheduler of the test run's own with a cups-pdf printer, which
# wine.print_setup starts once the Wine rig is up and wine.print_cleanup
# ends. Included from tests/wine/CMakeLists.txt after the cases are made.
add_test(NAME wine.print_setup
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/print_setup.sh ${WINE_RIG_DIR})
set_tests_properties(wine.print_setup PROPERTIES FIXTURES_SETUP print FIXTURES_REQUIRED wine
  TIMEOUT 60 RESOURCE_LOCK wine_desktop)
add_test(NAME wine.print_cleanup
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/print_cleanup.sh ${WINE_RIG_DIR})
set_tests_properties(wine.print_cleanup PROPERTIES FIXTURES_CLEANUP print FIXTURES_REQUIRED wine
  TIMEOUT 30 RESOURCE_LOCK wine_desktop)

# Every print case needs the scheduler too; a case waits for cups-pdf's
# conversion of its job, a few seconds each.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/cases_print.sh PRINT_CASE_LINES REGEX "^case_[a-z0-9_]+\\(\\)")
foreach(line ${PRINT_CASE_LINES})
  string(REGEX REPLACE "^case_([a-z0-9_]+)\\(\\).*" "\\1" case ${line})
  set_tests_properties(wine.${case} PROPERTIES FIXTURES_REQUIRED "wine;print" TIMEOUT 180)
endforeach()

# The print benchmark uses this fixture's scripts; its program is built here.
include(${CMAKE_SOURCE_DIR}/bench/print/CMakeLists.txt)
