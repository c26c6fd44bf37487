#pragma once
// The Windows registry through Reg* calls. Machine-hive keys are opened in the 32-bit view
// (KEY_WOW64_32KEY) so both Windows builds read and write the same place.

#include "platform/ports/registry.h"

namespace quillon {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenForRead(RootKey root, const std::wstring& path) override;
  std::unique_ptr<RegistryKey> OpenExisting(RootKey root, const std::wstring& path) override;
  std::unique_ptr<RegistryKey> OpenForWrite(RootKey root, const std::wstring& path) override;
  bool KeyExists(RootKey root, const std::wstring& path) override;
  bool DeleteTree(RootKey root, const std::wstring& path) override;
  std::optional<uint64_t> LastWriteTime(RootKey root, const std::wstring& path) override;
};

}  // namespace quillon
