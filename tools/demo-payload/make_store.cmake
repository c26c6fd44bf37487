# Builds the payload store that the installer carries: run by the build as
#   cmake -DPACK=... -DSTORE=... [-DGENERATOR=... -DWORK=... -DSERVERS=a|b] |
#         [-DPAYLOAD_DIR=... -DMANIFEST=...] -P make_store.cmake
# With GENERATOR, the demo payload is made first in WORK (the COM servers in SERVERS copied
# in, the icon set packed from its images); otherwise PAYLOAD_DIR and MANIFEST name a real
# payload. Then `quillon-pack store` writes one record per entry and the resource script
# STORE/payload.rc.
cmake_minimum_required(VERSION 3.20)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " line "${ARGN}")
    message(FATAL_ERROR "payload store: '${line}' failed (${rc})")
  endif()
endfunction()

foreach(tool PACK GENERATOR)
  if(DEFINED ${tool} AND NOT EXISTS "${${tool}}")
    message(FATAL_ERROR "payload store: ${${tool}} is missing. Build the native configuration "
                        "first (scripts/build native), or point QUILLON_PACK and "
                        "QUILLON_DEMO_PAYLOAD_TOOL at the native tools.")
  endif()
endforeach()

if(DEFINED GENERATOR)
  set(server_args "")
  string(REPLACE "|" ";" SERVERS "${SERVERS}")
  foreach(server ${SERVERS})
    list(APPEND server_args --server ${server})
  endforeach()
  run(${GENERATOR} ${WORK} ${server_args})
  run(${PACK} iconset ${WORK}/icons -o ${WORK}/payload/glyphs.ico)
  set(PAYLOAD_DIR ${WORK}/payload)
  set(MANIFEST ${WORK}/InstallFile.ini)
endif()

file(REMOVE_RECURSE ${STORE})
run(${PACK} store ${PAYLOAD_DIR} ${MANIFEST} -o ${STORE})

# The menu datasets ("NAVSET" in the name) are installed exactly as carried, not unpacked: their
# blobs are the files themselves, not records.
file(STRINGS ${MANIFEST} lines)
foreach(line ${lines})
  string(REGEX REPLACE "=.*$" "" name "${line}")
  string(TOUPPER "${name}" upper)
  if(NOT upper MATCHES "NAVSET")
    continue()
  endif()
  string(REPLACE "." "" blob "${upper}")
  # The file as named, or the one whose name differs only in letter case.
  set(source "")
  if(EXISTS ${PAYLOAD_DIR}/${name})
    set(source ${PAYLOAD_DIR}/${name})
  else()
    file(GLOB candidates ${PAYLOAD_DIR}/*)
    foreach(candidate ${candidates})
      get_filename_component(candidate_name ${candidate} NAME)
      string(TOUPPER "${candidate_name}" candidate_upper)
      if(candidate_upper STREQUAL upper)
        set(source ${candidate})
      endif()
    endforeach()
  endif()
  if(NOT source OR NOT EXISTS ${STORE}/${blob})
    message(FATAL_ERROR "payload store: no file or record for the menu dataset '${name}'")
  endif()
  run(${CMAKE_COMMAND} -E copy ${source} ${STORE}/${blob})
endforeach()
