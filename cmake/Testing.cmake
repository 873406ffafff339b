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

find_program(QV_XVFB_RUN xvfb-run)

# qv_add_native_test(NAME SOURCES... [LIBS ...] [LABELS ...])
# One CTest entry per GoogleTest case. Portable tests: built in every build.
function(qv_add_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE qv_options ${T_LIBS} GTest::gmock GTest::gtest_main)
  # In the Windows builds the same portable tests run under Wine.
  if(WIN32)
    set(where wine)
  else()
    set(where native)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS "${where};${T_LABELS}")
endfunction()

# qv_add_wine_test(NAME SOURCES... [LIBS ...] [LABELS ...] [GUI])
# One CTest entry per test program: each start of Wine costs time, so the
# cases of a program run in one process; GoogleTest prints each of them.
# GUI programs run under their own Xvfb display.
function(qv_add_wine_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE qv_options ${T_LIBS} GTest::gmock GTest::gtest_main)
  set(labels wine ${T_LABELS})
  if(T_GUI)
    list(APPEND labels gui)
    add_test(NAME ${name}
      COMMAND ${QV_XVFB_RUN} -a -s "-screen 0 1280x1024x24"
              ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 600
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()
