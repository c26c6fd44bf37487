# Builds the payload store that the installer carries: run by the build as
#   cmake -DPACK=... -DSTORE=... [-DLEVEL=N] [-DGENERATOR=... -DWORK=... -DSERVERS=a|b [-DEXTRA=...]] |
#         [-DPAYLOAD_DIR=... -DMANIFEST=...] -P make_store.cmake
# With GENERATOR, the demo payload is made first in WORK (the COM servers in SERVERS copied
# in, the icon set packed from its images); EXTRA ("name,flag,file|...") adds entries after the
# manifest's own, each carrying a copy of its file. Otherwise PAYLOAD_DIR and MANIFEST name a
# real payload. Then `quillon-pack store` writes one record per entry (the menu datasets as they
# are) at compression level LEVEL (default 1) and the resource script STORE/payload.rc.
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
  string(REPLACE "|" ";" EXTRA "${EXTRA}")
  foreach(extra ${EXTRA})
    string(REPLACE "," ";" fields "${extra}")
    list(GET fields 0 name)
    list(GET fields 1 flag)
    list(GET fields 2 file)
    run(${CMAKE_COMMAND} -E copy ${file} ${PAYLOAD_DIR}/${name})
    file(APPEND ${MANIFEST} "${name}=${flag}\r\n")
  endforeach()
endif()

file(REMOVE_RECURSE ${STORE})
if(NOT DEFINED LEVEL)
  set(LEVEL 1)
endif()
run(${PACK} store ${PAYLOAD_DIR} ${MANIFEST} -o ${STORE} --level ${LEVEL})
