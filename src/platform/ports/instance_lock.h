#pragma once
// One installer at a time in a user session: the first copy holds a lock for its whole run;
// a copy started meanwhile finds it taken.

namespace quillon {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // Takes the session's installer lock for the life of this object; false when another
  // running copy holds it (nothing is taken then).
  virtual bool TryTake() = 0;
};

}  // namespace quillon
