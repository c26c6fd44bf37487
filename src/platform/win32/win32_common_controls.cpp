#include "platform/win32/win32_common_controls.h"

#include "platform/win32/win32_late_imports.h"
#include "platform/win32/windows_api.h"
// After <windows.h>:
#include <commctrl.h>

namespace quillon {

bool LoadProgressBarClass() {
  static const bool loaded = [] {
    HMODULE comctl = late::LoadSystemLibrary(L"comctl32.dll");
    if (!comctl) return false;
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitFn>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    return init && init(&icc);
  }();
  return loaded;
}

}  // namespace quillon
