// The sizes and field offsets of the system structures the adapters fill in and hand to
// Windows, as the system's own headers lay them out for 32-bit and 64-bit programs. A header
// set, a packing pragma or a _WIN32_WINNT level that lays one out differently gives a program
// that compiles and then fails at run time (a call that refuses the structure's cbSize, or
// reads a field from the wrong place), most often only in the shipped 32-bit build, which
// Wine here cannot run. So the build checks them.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstddef>

namespace {

constexpr bool k32Bit = sizeof(void*) == 4;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or 64-bit Windows program");

// The size of a structure in a 32-bit program, or in a 64-bit one.
constexpr size_t Abi(size_t x86, size_t x64) { return k32Bit ? x86 : x64; }

#define QUILLON_CHECK_SIZE(type, x86, x64) \
  static_assert(sizeof(type) == Abi(x86, x64), "size of " #type)
#define QUILLON_CHECK_OFFSET(type, field, x86, x64) \
  static_assert(offsetof(type, field) == Abi(x86, x64), "offset of " #type "::" #field)

// Shell: packed to 1 byte in 32-bit programs (shellapi.h), naturally aligned in 64-bit ones.
QUILLON_CHECK_SIZE(SHELLEXECUTEINFOW, 60, 112);
QUILLON_CHECK_OFFSET(SHELLEXECUTEINFOW, hInstApp, 32, 56);
QUILLON_CHECK_OFFSET(SHELLEXECUTEINFOW, hProcess, 56, 104);
QUILLON_CHECK_SIZE(SHFILEOPSTRUCTW, 30, 56);
QUILLON_CHECK_OFFSET(SHFILEOPSTRUCTW, fFlags, 16, 32);
QUILLON_CHECK_OFFSET(SHFILEOPSTRUCTW, fAnyOperationsAborted, 18, 36);
QUILLON_CHECK_SIZE(BROWSEINFOW, 32, 64);

// Process snapshot.
QUILLON_CHECK_SIZE(PROCESSENTRY32W, 556, 568);
QUILLON_CHECK_OFFSET(PROCESSENTRY32W, th32ProcessID, 8, 8);
QUILLON_CHECK_OFFSET(PROCESSENTRY32W, szExeFile, 36, 44);

// Files.
QUILLON_CHECK_SIZE(WIN32_FIND_DATAW, 592, 592);
QUILLON_CHECK_SIZE(FILETIME, 8, 8);

// Windows, painting and controls.
QUILLON_CHECK_SIZE(INITCOMMONCONTROLSEX, 8, 8);
QUILLON_CHECK_SIZE(WNDCLASSEXW, 48, 80);
QUILLON_CHECK_SIZE(MSG, 28, 48);
QUILLON_CHECK_SIZE(PAINTSTRUCT, 64, 72);
QUILLON_CHECK_SIZE(LOGFONTW, 92, 92);
QUILLON_CHECK_SIZE(RECT, 16, 16);
QUILLON_CHECK_SIZE(SIZE, 8, 8);

// Automation.
QUILLON_CHECK_SIZE(VARIANT, 16, 24);
QUILLON_CHECK_SIZE(DISPPARAMS, 16, 24);
QUILLON_CHECK_SIZE(EXCEPINFO, 32, 64);
QUILLON_CHECK_SIZE(CLSID, 16, 16);

#undef QUILLON_CHECK_SIZE
#undef QUILLON_CHECK_OFFSET

}  // namespace
