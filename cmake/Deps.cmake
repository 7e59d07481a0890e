# Third-party libraries for both builds. Nothing third-party is committed: the
# Windows build compiles the Debian source packages that scripts/setup-machine.sh
# unpacks into KESTRO_DEPS_DIR; the native build uses the system's libraries, except
# that the sanitizer and fuzz builds compile JsonCpp too, so the parser under JValue
# is checked (and, fuzzing, instrumented) like our own code.
set(KESTRO_DEPS_DIR "${PROJECT_SOURCE_DIR}/.deps/src" CACHE PATH "Unpacked third-party sources")

# GoogleTest from the sources the googletest package installs, in both builds.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main gmock gmock_main)
  if(TARGET ${t})
    set_target_properties(${t} PROPERTIES COMPILE_OPTIONS "-w")
  endif()
endforeach()

set(_json "${KESTRO_DEPS_DIR}/jsoncpp")
if(KESTRO_WIN32 OR KESTRO_FUZZ OR KESTRO_SANITIZE)
  if(NOT EXISTS "${_json}/src/lib_json/json_value.cpp")
    message(FATAL_ERROR "Third-party sources missing in ${KESTRO_DEPS_DIR}: run scripts/setup-machine.sh")
  endif()
  add_library(kestro_jsoncpp STATIC
    ${_json}/src/lib_json/json_reader.cpp
    ${_json}/src/lib_json/json_value.cpp
    ${_json}/src/lib_json/json_writer.cpp)
  target_include_directories(kestro_jsoncpp SYSTEM PUBLIC ${_json}/include)
  target_compile_options(kestro_jsoncpp PRIVATE -w)
endif()

if(KESTRO_WIN32)
  set(_mz "${KESTRO_DEPS_DIR}/minizip")
  if(NOT EXISTS "${_mz}/unzip.c")
    message(FATAL_ERROR "Third-party sources missing in ${KESTRO_DEPS_DIR}: run scripts/setup-machine.sh")
  endif()

  # zlib from the MinGW sysroot by full path: the import library beside it would pull in zlib1.dll.
  add_library(kestro_zlib INTERFACE)
  target_link_libraries(kestro_zlib INTERFACE /usr/i686-w64-mingw32/lib/libz.a)

  add_library(kestro_minizip STATIC ${_mz}/unzip.c ${_mz}/ioapi.c ${_mz}/iowin32.c ${_mz}/zip.c)
  target_include_directories(kestro_minizip SYSTEM PUBLIC ${_mz})
  target_compile_definitions(kestro_minizip PUBLIC NOCRYPT NOUNCRYPT)
  target_compile_options(kestro_minizip PRIVATE -w)
  target_link_libraries(kestro_minizip PUBLIC kestro_zlib)
  set(KESTRO_MINIUNZ_SOURCE ${_mz}/miniunz.c CACHE INTERNAL "")
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  find_package(ZLIB REQUIRED)
  if(NOT KESTRO_FUZZ AND NOT KESTRO_SANITIZE)
    pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
    add_library(kestro_jsoncpp INTERFACE)
    target_link_libraries(kestro_jsoncpp INTERFACE PkgConfig::JSONCPP)
  endif()
  add_library(kestro_zlib INTERFACE)
  target_link_libraries(kestro_zlib INTERFACE ZLIB::ZLIB)
  add_library(kestro_minizip INTERFACE)
  target_link_libraries(kestro_minizip INTERFACE PkgConfig::MINIZIP kestro_zlib)
endif()

# libdeflate's decompressor and CRC-32, for the install's entry data, from its unpacked
# source package in both builds (Debian has no MinGW build of it).
set(_deflate "${KESTRO_DEPS_DIR}/libdeflate")
if(NOT EXISTS "${_deflate}/lib/deflate_decompress.c")
  message(FATAL_ERROR "Third-party sources missing in ${KESTRO_DEPS_DIR}: run scripts/setup-machine.sh")
endif()
add_library(kestro_libdeflate STATIC
  ${_deflate}/lib/deflate_decompress.c ${_deflate}/lib/crc32.c ${_deflate}/lib/utils.c
  ${_deflate}/lib/x86/cpu_features.c ${_deflate}/lib/arm/cpu_features.c)
target_include_directories(kestro_libdeflate SYSTEM PUBLIC ${_deflate})
target_compile_options(kestro_libdeflate PRIVATE -w -O2)

# Duktape, the script engine behind the stand-in browser runtime, from its
# unpacked source package in both builds. Its undefined-behaviour checks stay
# off: they would report the engine's own deliberate tricks, not ours.
set(_duk "${KESTRO_DEPS_DIR}/duktape/src")
if(EXISTS "${_duk}/duktape.c")
  add_library(kestro_duktape STATIC ${_duk}/duktape.c)
  target_include_directories(kestro_duktape SYSTEM PUBLIC ${_duk})
  target_compile_options(kestro_duktape PRIVATE -w)
  if(NOT KESTRO_WIN32)
    target_compile_options(kestro_duktape PRIVATE -fno-sanitize=undefined)
    target_link_libraries(kestro_duktape PUBLIC m)
  endif()
endif()
