# Helpers that turn a program's folders into targets by convention, so adding
# a source or test file never needs an edit here:
#   core/*.cpp      portable core library (*_win.cpp only in the Windows build,
#                   *_posix.cpp only in the native build)
#   win/*.cpp       the Win32 layer, linked with the core into the .exe
#   tests/*_test.cpp   unit tests, built natively and for Windows
#   e2e/*_test.cpp     end-to-end tests of the real .exe, Windows build only

function(project_sources out dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(WIN32)
    list(FILTER srcs EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER srcs EXCLUDE REGEX "_win\\.cpp$")
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# add_core_library(<target> <dir>)
function(add_core_library target dir)
  project_sources(srcs ${dir})
  if(NOT srcs)
    return()
  endif()
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  if(WIN32)
    target_link_libraries(${target} PUBLIC kernel32)
  endif()
endfunction()

# Tests that start Wine programs must not overlap: several Wine processes
# starting at once in one prefix fail spuriously.
set(WINE_TEST_PROPERTIES RESOURCE_LOCK wine TIMEOUT 300)

# add_unit_tests(<target> <dir> <libs...>)
function(add_unit_tests target dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(WIN32)
    list(FILTER srcs EXCLUDE REGEX "_posix_test\\.cpp$")
  else()
    list(FILTER srcs EXCLUDE REGEX "_win_test\\.cpp$")
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(${target} ${srcs})
  target_link_libraries(${target} PRIVATE ${ARGN} GTest::gtest_main)
  if(WIN32)
    # One Wine start for the whole executable: starting Wine per case costs
    # more than the cases themselves.
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${target} PROPERTIES ${WINE_TEST_PROPERTIES} LABELS wine)
  else()
    gtest_discover_tests(${target} TEST_PREFIX "${TEST_NAME_PREFIX}" PROPERTIES LABELS native)
  endif()
endfunction()

# add_e2e_tests(<target> <dir>) -- Windows build only.
function(add_e2e_tests target dir)
  if(NOT WIN32)
    return()
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${target} ${srcs})
  target_link_libraries(${target} PRIVATE uidriver GTest::gtest_main)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ${WINE_TEST_PROPERTIES} LABELS "wine;e2e")
endfunction()
