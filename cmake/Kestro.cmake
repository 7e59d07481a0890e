# Build and test helpers shared by every folder.

# Adds every immediate sub-folder that has a CMakeLists.txt, in name order, so an
# area can grow a folder without editing its parent.
function(kestro_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

set(KESTRO_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results CACHE INTERNAL "")
set(KESTRO_WINE_ROOT ${CMAKE_BINARY_DIR}/wine CACHE INTERNAL "")

# kestro_shipping_copy(TARGET): after each link, bin/ship/<program> is the program as it
# is shipped, without debug information and symbols. Installers carry their program
# image twice (the installer and unins000.exe), so a build's debug sections would be
# read, written and copied to every user's disk for nothing.
function(kestro_shipping_copy target)
  if(NOT KESTRO_WIN32)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/ship
    COMMAND ${CMAKE_STRIP} --strip-all -o $<TARGET_FILE_DIR:${target}>/ship/$<TARGET_FILE_NAME:${target}>
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

# kestro_native_test(NAME SOURCES a.cpp ... LIBS lib ...)
# A GoogleTest program of the native build; runs with the sanitizers on.
function(kestro_native_test name)
  if(KESTRO_WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "GTEST_OUTPUT=xml:${KESTRO_TEST_RESULTS}/${name}.xml;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

# kestro_win_test(NAME SOURCES a.cpp ... LIBS lib ... [TIMEOUT s] [DEPENDS target ...])
# A GoogleTest program of the Windows build, run under Wine in the build's own
# prefix with one wineserver and one Xvfb kept for the whole run.
function(kestro_win_test name)
  if(NOT KESTRO_WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  kestro_add_wine_test(${name} $<TARGET_FILE:${name}>)
  if(T_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# Registers any command as a Wine test (a program path, then its arguments).
function(kestro_add_wine_test name)
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${KESTRO_WINE_ROOT} ${KESTRO_TEST_RESULTS}/${name}.xml ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
endfunction()

# One prefix, one wineserver and one X display for all Wine tests of a run.
function(kestro_wine_fixture)
  add_test(NAME wine_start COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-fixture.sh start ${KESTRO_WINE_ROOT})
  add_test(NAME wine_stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-fixture.sh stop ${KESTRO_WINE_ROOT})
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 240)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()

# kestro_fuzz_target(NAME SOURCES a.cpp ... LIBS lib ...): a libFuzzer program (clang
# builds only). Its seeds live in fuzz/corpus/NAME; the test run gives each target a
# short smoke (KESTRO_FUZZ_SECONDS) on a scratch copy of the seeds.
set(KESTRO_FUZZ_SECONDS 10 CACHE STRING "Seconds of fuzzing per target in the test run")
function(kestro_fuzz_target name)
  if(NOT KESTRO_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/fuzz-smoke.sh $<TARGET_FILE:${name}>
            ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name} ${CMAKE_BINARY_DIR}/fuzz-work/${name} ${KESTRO_FUZZ_SECONDS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# kestro_stats_server(NAME [server options...]): a local stats-server on a free
# loopback port while the tests that use it run (CTest fixture "stats_NAME"). Its
# folder ${CMAKE_BINARY_DIR}/stats/NAME holds "port" and "requests.log".
set(KESTRO_STATS_ROOT ${CMAKE_BINARY_DIR}/stats CACHE INTERNAL "")
function(kestro_stats_server name)
  get_property(known GLOBAL PROPERTY KESTRO_STATS_SERVERS)
  if(name IN_LIST known)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY KESTRO_STATS_SERVERS ${name})
  add_test(NAME stats_${name}_start
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/stats-fixture.sh start ${KESTRO_STATS_SERVER} ${KESTRO_STATS_ROOT}/${name} ${ARGN})
  add_test(NAME stats_${name}_stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/stats-fixture.sh stop ${KESTRO_STATS_ROOT}/${name})
  set_tests_properties(stats_${name}_start PROPERTIES FIXTURES_SETUP stats_${name} TIMEOUT 30)
  set_tests_properties(stats_${name}_stop PROPERTIES FIXTURES_CLEANUP stats_${name} TIMEOUT 30)
endfunction()

# kestro_use_stats_servers(TEST NAME...): TEST runs while those servers are up and
# finds their folders under KESTRO_STATS_DIR (a Linux path; Wine sees it under Z:).
function(kestro_use_stats_servers test)
  foreach(name ${ARGN})
    set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED stats_${name})
  endforeach()
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "KESTRO_STATS_DIR=${KESTRO_STATS_ROOT}")
endfunction()
