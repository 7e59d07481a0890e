# The programs the Windows build runs on the build machine: stats-server for the Wine
# tests' reports and uirpack for the skin. They come from a native build of this same
# tree in host/, so each keeps the one list of sources and flags its own CMakeLists.txt
# gives it, and the Windows build needs no native build folder beside it.
include(ExternalProject)
set(_host ${CMAKE_BINARY_DIR}/host)
set(KESTRO_HOST_UIRPACK ${_host}/bin/uirpack CACHE INTERNAL "uirpack for the build machine")
set(KESTRO_STATS_SERVER ${_host}/bin/stats-server CACHE INTERNAL "The stats-server program the tests start")
ExternalProject_Add(kestro_host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${_host}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  # Tools only: no tests, and no sanitizers in programs the tests merely run.
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DKESTRO_TESTS=OFF -DKESTRO_SANITIZE=OFF -DKESTRO_WERROR=${KESTRO_WERROR}
             -DKESTRO_DEPS_DIR=${KESTRO_DEPS_DIR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${_host} --target stats-server uirpack
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${KESTRO_HOST_UIRPACK} ${KESTRO_STATS_SERVER})
