# Run by the build after linking a shipped program (quillon_split_debug_info):
#   cmake -DOBJCOPY=... -DPROGRAM=.../QuillonSetup.exe -DLABEL=... -P split_debug_info.cmake
# PROGRAM.debug gets the debug sections and the symbol table; PROGRAM is stripped of both and
# names PROGRAM.debug with its CRC in a .gnu_debuglink section.
cmake_minimum_required(VERSION 3.20)

# objcopy writes the clock into the PE header of what it writes unless told the time.
set(ENV{SOURCE_DATE_EPOCH} 0)
get_filename_component(dir "${PROGRAM}" DIRECTORY)
get_filename_component(name "${PROGRAM}" NAME)

function(objcopy)
  execute_process(COMMAND "${OBJCOPY}" ${ARGN} WORKING_DIRECTORY "${dir}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " line "${ARGN}")
    message(FATAL_ERROR "objcopy ${line} failed (${rc})")
  endif()
endfunction()

objcopy(--only-keep-debug "${name}" "${name}.debug")
objcopy(--strip-all "--add-gnu-debuglink=${name}.debug" "${name}")

file(SIZE "${PROGRAM}" size)
file(SIZE "${PROGRAM}.debug" debug_size)
math(EXPR kib "(${size} + 512) / 1024")
math(EXPR debug_kib "(${debug_size} + 512) / 1024")
message("${LABEL}: ${name} ${size} bytes (${kib} KiB) stripped; "
        "debug information ${debug_size} bytes (${debug_kib} KiB) in ${name}.debug")
