#pragma once
// Blobs carried as resources of an executable module, found by type and name without regard
// to letter case ("#10" style names select numbered types or names). The view points into
// the loaded module: nothing is copied and nothing needs releasing.

#include "platform/ports/resources.h"

namespace quillon {

class Win32Resources : public Resources {
 public:
  // The resources of `module` (an HMODULE); nullptr stands for the running program.
  explicit Win32Resources(void* module = nullptr) : module_(module) {}
  std::optional<BlobView> Find(const std::wstring& type, const std::wstring& name) override;

 private:
  void* module_;
};

}  // namespace quillon
