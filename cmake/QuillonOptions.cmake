# Compiler settings shared by every target of ours.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUILLON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(QUILLON_WINDOWS)
  # Unicode Win32 throughout; Windows 7 API level (SetDefaultDllDirectories and friends).
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                          WINVER=0x0601)
  # Statically linked: no libgcc, libstdc++ or winpthread DLLs beside the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(ZLIB_USE_STATIC_LIBS ON)
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=UTF-8)

  # Reproducible programs: the same sources, payload and toolchain give the same bytes in any
  # folder. No PE time stamp (the linker writes 0; objcopy is told the same through
  # SOURCE_DATE_EPOCH), and neither the source nor the build folder in the debug information
  # or in __FILE__: both are written as ".". The build folder's map comes last so that it wins
  # for a build folder inside the source folder. The resource compiler's preprocessor gets the
  # same maps.
  add_link_options(-Wl,--no-insert-timestamp)
  # Sections aligned to pages in the file, not to 512 bytes: the loader then maps the image,
  # and its pages (most of them the payload store) come in from the file as they are read.
  # Wine reads an image whose sections are not page-aligned in the file whole into memory
  # before the program starts, which for an installer of a hundred MiB costs as much as the
  # install itself.
  add_link_options(-Wl,--file-alignment,0x1000)
  set(QUILLON_PREFIX_MAPS -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                          -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
  add_compile_options(${QUILLON_PREFIX_MAPS})
  enable_language(RC)
  foreach(map ${QUILLON_PREFIX_MAPS})
    string(APPEND CMAKE_RC_FLAGS " --preprocessor-arg=${map}")
  endforeach()
  # Debug information throughout; the shipped programs keep theirs in a file beside them
  # (quillon_split_debug_info).
  add_compile_options(-g)
endif()

if(QUILLON_SANITIZE AND NOT QUILLON_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Strips a shipped program after linking: TARGET's file keeps its code and resources, and
# its debug information and symbols go to the file of the same name plus ".debug" beside it,
# which the program names (with its CRC) in a .gnu_debuglink section, so that a debugger given
# both reads a crash dump with function names and lines. Prints both sizes under LABEL.
function(quillon_split_debug_info target label)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJCOPY=${CMAKE_OBJCOPY} -DPROGRAM=$<TARGET_FILE:${target}>
            -DLABEL=${label} -P ${PROJECT_SOURCE_DIR}/cmake/split_debug_info.cmake
    VERBATIM)
endfunction()
