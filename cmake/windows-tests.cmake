# GoogleTest for the cross build, from the sources Debian ships
# (googletest), and the Wine prefix that every Windows test runs in.
set(TRACE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${TRACE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# Newer GoogleTest sources name their targets so themselves.
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# One prefix for the whole build, made once before the tests (a fixture), so
# that tests running side by side never race to create it.
set(TRACE_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
  ${CMAKE_COMMAND} -E env WINEPREFIX=${TRACE_WINEPREFIX}
  ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
add_test(NAME wine_prefix COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${TRACE_WINEPREFIX}
  ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh wineboot --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
