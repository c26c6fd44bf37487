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
endif()

if(QUILLON_SANITIZE AND NOT QUILLON_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
