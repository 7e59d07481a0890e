# The configure-time check of a real runtime distribution, run on fake
# distributions whose headers declare one hash or another. Each check runs in a
# child cmake, as a configure would: a stop is a nonzero exit with a message.
#   cmake -DSOURCE=<repository> -DWORK=<scratch folder> -P cef_api_hash_test.cmake
if(MODE STREQUAL "check")
  include(${SOURCE}/web/runtime/cef_api_hash.cmake)
  kestro_require_cef_generation(${ROOT})
  return()
endif()

set(self ${CMAKE_CURRENT_LIST_FILE})
set(wanted 1051c471f09e2ad841a331540a5ccd583e4b4704)
set(other 0123456789abcdef0123456789abcdef01234567)
file(REMOVE_RECURSE ${WORK})

# A header laid out as a distribution's: guard, universal hash, one platform hash per OS.
function(write_hash_header name file universal windows mac linux)
  file(WRITE ${WORK}/${name}/include/${file}
"#ifndef CEF_INCLUDE_API_HASH_H_
#define CEF_INCLUDE_API_HASH_H_

#include \"include/internal/cef_export.h\"

#define CEF_API_HASH_UNIVERSAL \"${universal}\"
#if defined(OS_WIN)
#define CEF_API_HASH_PLATFORM \"${windows}\"
#elif defined(OS_MACOSX)
#define CEF_API_HASH_PLATFORM \"${mac}\"
#elif defined(OS_LINUX)
#define CEF_API_HASH_PLATFORM \"${linux}\"
#endif

#endif  // CEF_INCLUDE_API_HASH_H_
")
endfunction()

set(failures 0)
# expect(NAME accepted|stopped [TEXT]): the outcome of the check on fake distribution NAME,
# and a text its message must carry.
function(expect name outcome)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMODE=check -DSOURCE=${SOURCE} -DROOT=${WORK}/${name} -P ${self}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(ok TRUE)
  if(outcome STREQUAL "accepted" AND NOT code EQUAL 0)
    set(ok FALSE)
  elseif(outcome STREQUAL "stopped" AND code EQUAL 0)
    set(ok FALSE)
  endif()
  if(ARGC GREATER 2)
    # CMake wraps a message at its own width, so a text may be split at any blank.
    string(REGEX REPLACE "[ \t\r\n]+" " " flat "${err}")
    string(FIND "${flat}" "${ARGV2}" at)
    if(at EQUAL -1)
      set(ok FALSE)
    endif()
  endif()
  if(NOT ok)
    message(SEND_ERROR "${name}: expected ${outcome} ${ARGV2}, exit ${code}:\n${err}")
    math(EXPR n "${failures} + 1")
    set(failures ${n} PARENT_SCOPE)
  endif()
endfunction()

write_hash_header(matching cef_api_hash.h ${other} ${wanted} ${other} ${other})
expect(matching accepted)

# The wanted hash elsewhere in the header does not stand in for the Windows one.
write_hash_header(wrong cef_api_hash.h ${wanted} ${other} ${wanted} ${wanted})
expect(wrong stopped ${other})

# Older distributions declare the hashes in cef_version.h.
write_hash_header(older cef_version.h ${other} ${wanted} ${other} ${other})
expect(older accepted)
write_hash_header(older_wrong cef_version.h ${other} ${other} ${other} ${wanted})
expect(older_wrong stopped ${other})

file(WRITE ${WORK}/none/include/cef_app.h "#define CEF_INCLUDE_CEF_APP_H_\n")
expect(none stopped "no Windows CEF_API_HASH_PLATFORM")

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()
message(STATUS "all cases passed")
