# suite_test(NAME SOURCES... LIBS ...): a GoogleTest binary.
# Natively each test case is a CTest test; under Wine the whole binary is one
# test (starting Wine once per case would cost more than the cases themselves).
# OWN_DISPLAY: a test of real windows runs on an X display and in a prefix of
# its own (build/<tree>/wineprefix-NAME), so it runs beside the other tests.
include(GoogleTest)
# The command a Wine GUI test runs under: a display of its own for the test.
# Such tests run side by side. SUITE_GUI_TEST are their shared properties:
# each counts as two processors (a program, the driver's and Wine's own
# processes), so ctest -j8 runs four of them at once beside the other tests,
# and none slows down so much that its waits run out. Each names its COST
# too (the seconds it took so on a loaded 8-core machine), so that a tree
# without timings of its own starts the longest first. SUITE_LIGHT_GUI_TEST:
# a test of one small program with few waits counts as one processor, so
# those fill the end of a run.
get_filename_component(suite_scripts ${CMAKE_CURRENT_LIST_DIR}/../scripts ABSOLUTE)
set(SUITE_OWN_DISPLAY sh ${suite_scripts}/own-display.sh)
set(SUITE_GUI_TEST PROCESSORS 2)
set(SUITE_LIGHT_GUI_TEST PROCESSORS 1)
function(suite_test name)
  cmake_parse_arguments(ST "OWN_DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ST_SOURCES})
  target_link_libraries(${name} PRIVATE ${ST_LIBS} GTest::gtest GTest::gtest_main)
  if(SUITE_WINDOWS AND ST_OWN_DISPLAY)
    target_link_options(${name} PRIVATE -mconsole)
    add_test(NAME ${name} COMMAND ${SUITE_OWN_DISPLAY} sh ${suite_scripts}/wine-run.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ${SUITE_GUI_TEST} TIMEOUT 300
                         ENVIRONMENT SUITE_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-${name})
  elseif(SUITE_WINDOWS)
    target_link_options(${name} PRIVATE -mconsole)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# suite_program(NAME SOURCES...): a GUI program of the suite (Windows tree only).
function(suite_program name)
  add_executable(${name} WIN32 ${ARGN})
  target_link_options(${name} PRIVATE -mwindows -municode)
endfunction()

# suite_ship(FILES file... [DEPENDS target...] [SECTION section...]): files of
# the build tree that users get beside the programs (the distribution folder
# holds them and the installer's list names them, in the list's sections:
# those its template names them in, else SECTION, else [Tolvane]).
function(suite_ship)
  cmake_parse_arguments(SS "" "" "FILES;DEPENDS;SECTION" ${ARGN})
  if(NOT SS_SECTION)
    set(SS_SECTION Tolvane)
  endif()
  string(REPLACE ";" "," sections "${SS_SECTION}")
  foreach(f ${SS_FILES})
    set_property(GLOBAL APPEND PROPERTY SUITE_SHIP_FILES ${f})
    set_property(GLOBAL APPEND PROPERTY SUITE_SHIP_SECTIONS ${sections})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY SUITE_SHIP_DEPENDS ${SS_DEPENDS})
endfunction()
