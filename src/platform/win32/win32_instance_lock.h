#pragma once
// The one-installer-at-a-time lock as a named mutex of the user's session ("Local\"): it
// lives as long as the process that made it first holds it open.

#include "platform/ports/instance_lock.h"
#include "platform/win32/win32_handles.h"

namespace quillon {

class Win32InstanceLock : public InstanceLock {
 public:
  bool TryTake() override;

 private:
  UniqueHandle mutex_;
};

}  // namespace quillon
