# GoogleTest from Debian's sources, built with the same compiler as the code,
# and the helpers that register our tests with CTest.
if(NOT QV_BUILD_TESTS)
  return()
endif()

set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# qv_add_native_test(NAME SOURCES... [LIBS ...] [LABELS ...])
# Portable tests, built in every build (in the Windows builds they run under
# Wine). Without LABELS: one CTest entry per GoogleTest case. With LABELS
# (firebird, say): one entry for the whole program, since labels do not
# survive the discovery of the cases.
function(qv_add_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE qv_options ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(WIN32)
    set(where wine)
  else()
    set(where native)
  endif()
  if(T_LABELS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${where};${T_LABELS}" TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES LABELS ${where})
  endif()
endfunction()

# qv_add_wine_test(NAME SOURCES... [LIBS ...] [LABELS ...] [GUI])
# One CTest entry per test program: each start of Wine costs time, so the
# cases of a program run in one process; GoogleTest prints each of them.
# GUI marks the programs that open windows (label gui).
function(qv_add_wine_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE qv_options ${T_LIBS} GTest::gmock GTest::gtest_main)
  set(labels wine ${T_LABELS})
  if(T_GUI)
    list(APPEND labels gui)
  endif()
  # Windowed or not, every Wine process of the tree uses the prefix's own
  # Xvfb display (scripts/env/wine-display.sh), started by the emulator.
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 600
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()
