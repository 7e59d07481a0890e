# The runtime generation the web sources are written for is the one whose API
# hash the stand-in's headers declare. A real distribution must declare the
# same hash for Windows, or the configure stops: a program built against other
# headers would only find out at run time, when CefExecuteProcess refuses.
set(KESTRO_CEF_STANDIN_ROOT ${CMAKE_CURRENT_LIST_DIR})

# kestro_cef_platform_hash(ROOT OUT): the Windows platform API hash that the
# headers under ROOT/include declare (cef_api_hash.h, or cef_version.h in older
# distributions), taken from the OS_WIN branch when the header has platform
# branches; empty when none is declared. <OUT>_HEADER names the header read.
function(kestro_cef_platform_hash root out)
  set(found "")
  set(header "")
  foreach(candidate cef_api_hash.h cef_version.h)
    if(found STREQUAL "" AND EXISTS ${root}/include/${candidate})
      set(header ${root}/include/${candidate})
      file(STRINGS ${header} lines REGEX "^[ \t]*#")
      set(section "")
      set(windows "")
      set(unconditional "")
      foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*#[ \t]*(el)?if.*defined[ \t]*\\([ \t]*OS_WIN[ \t]*\\)")
          set(section win)
        elseif(line MATCHES "^[ \t]*#[ \t]*(el)?if.*defined[ \t]*\\([ \t]*OS_[A-Z0-9_]+[ \t]*\\)")
          set(section other)
        elseif(line MATCHES "^[ \t]*#[ \t]*else" AND NOT section STREQUAL "")
          set(section other)
        elseif(line MATCHES "^[ \t]*#[ \t]*endif")
          set(section "")
        elseif(line MATCHES "^[ \t]*#[ \t]*define[ \t]+CEF_API_HASH_PLATFORM[ \t]+\"([^\"]*)\"")
          if(section STREQUAL "win")
            set(windows ${CMAKE_MATCH_1})
          elseif(section STREQUAL "")
            set(unconditional ${CMAKE_MATCH_1})
          endif()
        endif()
      endforeach()
      if(NOT windows STREQUAL "")
        set(found ${windows})
      else()
        set(found ${unconditional})
      endif()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
  set(${out}_HEADER "${header}" PARENT_SCOPE)
endfunction()

# kestro_require_cef_generation(ROOT): stops the configure unless the
# distribution at ROOT declares the stand-in's API hash.
function(kestro_require_cef_generation root)
  kestro_cef_platform_hash(${KESTRO_CEF_STANDIN_ROOT} expected)
  if(expected STREQUAL "")
    message(FATAL_ERROR "No API hash in the stand-in runtime's headers (${KESTRO_CEF_STANDIN_ROOT}/include)")
  endif()
  kestro_cef_platform_hash(${root} found)
  if(found STREQUAL "")
    message(FATAL_ERROR "KESTRO_CEF_ROOT=${root}: no Windows CEF_API_HASH_PLATFORM in "
      "include/cef_api_hash.h or include/cef_version.h; KestroWeb is written for the runtime whose "
      "API hash is ${expected}")
  elseif(NOT found STREQUAL expected)
    message(FATAL_ERROR "KESTRO_CEF_ROOT=${root}: the headers declare the API hash ${found} "
      "(${found_HEADER}); KestroWeb is written for the runtime whose API hash is ${expected}")
  endif()
endfunction()
