#include "config/unReg_File.h"

#include "base/error.h"

namespace quillon {

namespace {

[[noreturn]] void ThrowSetFailed(const std::wstring& name) {
  throw RegistryError(L"Failed to set data for '" + name + L"'");
}

}  // namespace

std::wstring ReadRegString(Registry& reg, RootKey root, const std::wstring& path,
                           const std::wstring& name) {
  auto key = reg.OpenForRead(root, path);
  if (!key) return {};
  switch (key->ValueKind(name)) {
    case RegValueKind::Missing:
      return {};
    case RegValueKind::String:
      return key->ReadString(name);
    default:
      throw RegistryError(L"Invalid data type for '" + name + L"'");
  }
}

std::wstring ReadUserRegString(Registry& reg, const std::wstring& path, const std::wstring& name) {
  return ReadRegString(reg, RootKey::CurrentUser, path, name);
}

void WriteRegString(Registry& reg, RootKey root, const std::wstring& path,
                    const std::wstring& name, const std::wstring& text) {
  auto key = reg.OpenForWrite(root, path);
  // A key that could not be opened counts as holding no value; the write then fails.
  if (!key) ThrowSetFailed(name);
  const RegValueKind kind = key->ValueKind(name);
  if (kind == RegValueKind::String && key->ReadString(name) == text) return;
  if (kind != RegValueKind::String && kind != RegValueKind::Missing) {
    throw RegistryError(L"Invalid data type for '" + name + L"'");
  }
  if (!key->WriteString(name, text)) ThrowSetFailed(name);
}

void WriteUserRegString(Registry& reg, const std::wstring& path, const std::wstring& name,
                        const std::wstring& text) {
  WriteRegString(reg, RootKey::CurrentUser, path, name, text);
}

void WriteRegInteger(Registry& reg, RootKey root, const std::wstring& path,
                     const std::wstring& name, int32_t value) {
  auto key = reg.OpenForWrite(root, path);
  if (!key) ThrowSetFailed(name);
  const RegValueKind kind = key->ValueKind(name);
  if (kind == RegValueKind::Dword && key->ReadDword(name) == static_cast<uint32_t>(value)) return;
  if (kind != RegValueKind::Dword && kind != RegValueKind::Missing) {
    throw RegistryError(L"Invalid data type for '" + name + L"'");
  }
  if (!key->WriteDword(name, static_cast<uint32_t>(value))) ThrowSetFailed(name);
}

void DeleteRegKey(Registry& reg, RootKey root, const std::wstring& path) {
  if (!reg.KeyExists(root, path)) return;
  if (!reg.DeleteTree(root, path)) {
    throw RegistryError(L"Failed to delete key '" + path + L"'");
  }
}

}  // namespace quillon
