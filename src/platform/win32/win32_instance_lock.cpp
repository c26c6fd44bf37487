#include "platform/win32/win32_instance_lock.h"

namespace quillon {

namespace {

const wchar_t kLockName[] = L"Local\\Quillon.ClientSetup.Running";

}  // namespace

bool Win32InstanceLock::TryTake() {
  if (mutex_) return true;
  UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kLockName));
  // The mutex of another copy answers the create as well, with "already exists"; a mutex
  // that cannot be made at all locks nothing, and the install goes on as before.
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) return false;
  mutex_ = std::move(mutex);
  return true;
}

}  // namespace quillon
