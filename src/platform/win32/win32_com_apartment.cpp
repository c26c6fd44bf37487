#include "platform/win32/win32_com_apartment.h"

#include "platform/win32/win32_late_imports.h"
#include "platform/win32/windows_api.h"

namespace quillon {

namespace {

// Per thread: whether EnterComApartment was called, and whether its CoInitializeEx is owed a
// CoUninitialize (it is not when the thread was already in a multithreaded apartment).
thread_local bool entered = false;
thread_local bool owes_uninitialize = false;

}  // namespace

void EnterComApartment() {
  if (entered) return;
  entered = true;
  owes_uninitialize = SUCCEEDED(late::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void LeaveComApartment() {
  if (owes_uninitialize) late::CoUninitialize();
  entered = false;
  owes_uninitialize = false;
}

}  // namespace quillon
