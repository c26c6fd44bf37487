#pragma once
// The installer lock of one session in memory: every lock made over the same session shares
// it, as copies of the installer share the session's named mutex.

#include <memory>

#include "platform/ports/instance_lock.h"

namespace quillon {

class FakeInstanceLock : public InstanceLock {
 public:
  // A lock over a session of its own.
  FakeInstanceLock() : session_(std::make_shared<bool>(false)) {}
  // A lock over the same session as `other` (a second copy of the installer).
  explicit FakeInstanceLock(const FakeInstanceLock& other) : session_(other.session_) {}
  ~FakeInstanceLock() override {
    if (held_) *session_ = false;
  }
  bool TryTake() override {
    if (held_) return true;
    if (*session_) return false;
    *session_ = held_ = true;
    return true;
  }

 private:
  std::shared_ptr<bool> session_;
  bool held_ = false;
};

}  // namespace quillon
