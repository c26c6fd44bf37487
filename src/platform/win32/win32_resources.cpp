#include "platform/win32/win32_resources.h"

#include "platform/win32/windows_api.h"

namespace quillon {

std::optional<BlobView> Win32Resources::Find(const std::wstring& type, const std::wstring& name) {
  if (type.empty() || name.empty()) return std::nullopt;
  HMODULE module = module_ ? static_cast<HMODULE>(module_) : GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name.c_str(), type.c_str());
  if (!info) return std::nullopt;
  // Resource memory belongs to the module: LoadResource and LockResource need no release.
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return BlobView{static_cast<const uint8_t*>(bytes), static_cast<size_t>(size)};
}

}  // namespace quillon
