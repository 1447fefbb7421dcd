# Helpers that turn a program's folders into targets by convention, so adding
# a source or test file never needs an edit here:
#   core/**/*.cpp   portable core library (*_win.cpp only in the Windows build,
#                   *_posix.cpp only in the native build)
#   win/*.cpp       the Win32 layer, linked with the core into the .exe
#   tests/*_test.cpp   unit tests, built natively and for Windows
#   e2e/*_test.cpp     end-to-end tests of the real .exe, Windows build only

# project_sources(<out> <dir> [RECURSE]): the sources of a folder (and of the
# folders below it with RECURSE) for the system being built for.
function(project_sources out dir)
  if(ARGN STREQUAL "RECURSE")
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  endif()
  if(WIN32)
    list(FILTER srcs EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER srcs EXCLUDE REGEX "_win\\.cpp$")
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# add_core_library(<target> <dir>)
function(add_core_library target dir)
  project_sources(srcs ${dir} RECURSE)
  if(NOT srcs)
    return()
  endif()
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC support)
  if(WIN32)
    target_link_libraries(${target} PUBLIC kernel32)
  endif()
endfunction()

# Tests that start Wine programs must not overlap: several Wine processes
# starting at once in one prefix fail spuriously.
set(WINE_TEST_PROPERTIES RESOURCE_LOCK wine TIMEOUT 300)

# Tests that are heavy on the processor or the disk (*_heavy_test.cpp) share
# the Wine tests' lock: on a small machine they would otherwise starve a Wine
# program of the time its test waits for.
function(add_unit_test_executable target srcs)
  add_executable(${target} ${srcs})
  target_link_libraries(${target} PRIVATE ${ARGN} GTest::gtest_main)
  if(WIN32)
    # One Wine start for the whole executable: starting Wine per case costs
    # more than the cases themselves.
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${target} PROPERTIES ${WINE_TEST_PROPERTIES} LABELS wine)
  elseif(target MATCHES "_heavy$")
    gtest_discover_tests(${target} TEST_PREFIX "${TEST_NAME_PREFIX}"
                         PROPERTIES RESOURCE_LOCK wine LABELS "native;heavy")
  else()
    gtest_discover_tests(${target} TEST_PREFIX "${TEST_NAME_PREFIX}" PROPERTIES LABELS native)
  endif()
endfunction()

# add_unit_tests(<target> <dir> <libs...>)
function(add_unit_tests target dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(WIN32)
    list(FILTER srcs EXCLUDE REGEX "_posix_test\\.cpp$")
  else()
    list(FILTER srcs EXCLUDE REGEX "_win_test\\.cpp$")
  endif()
  set(heavy ${srcs})
  list(FILTER heavy INCLUDE REGEX "_heavy(_posix|_win)?_test\\.cpp$")
  list(FILTER srcs EXCLUDE REGEX "_heavy(_posix|_win)?_test\\.cpp$")
  if(srcs)
    add_unit_test_executable(${target} "${srcs}" ${ARGN})
  endif()
  if(heavy)
    add_unit_test_executable(${target}_heavy "${heavy}" ${ARGN})
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
