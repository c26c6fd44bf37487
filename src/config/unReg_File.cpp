#include "config/unReg_File.h"

#include "base/error.h"

namespace quillon {

RegistryError SetDataError(const std::wstring& name) {
  return RegistryError(LocalText{L"无法写入注册表值 '" + name + L"'",
                                 L"無法寫入登錄值 '" + name + L"'",
                                 L"Failed to set data for '" + name + L"'"});
}

RegistryError DataTypeError(const std::wstring& name) {
  return RegistryError(LocalText{L"注册表值 '" + name + L"' 的数据类型有误",
                                 L"登錄值 '" + name + L"' 的資料類型有誤",
                                 L"Invalid data type for '" + name + L"'"});
}

RegistryError DeleteValueError(const std::wstring& name) {
  return RegistryError(LocalText{L"无法删除注册表值 '" + name + L"'",
                                 L"無法刪除登錄值 '" + name + L"'",
                                 L"Failed to delete value '" + name + L"'"});
}

namespace {

[[noreturn]] void ThrowSetFailed(const std::wstring& name) {
  throw SetDataError(name);
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
      throw DataTypeError(name);
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
    throw DataTypeError(name);
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
    throw DataTypeError(name);
  }
  if (!key->WriteDword(name, static_cast<uint32_t>(value))) ThrowSetFailed(name);
}

void DeleteRegKey(Registry& reg, RootKey root, const std::wstring& path) {
  if (!reg.KeyExists(root, path)) return;
  if (!reg.DeleteTree(root, path)) {
    throw RegistryError(LocalText{L"无法删除注册表项 '" + path + L"'",
                                  L"無法刪除登錄機碼 '" + path + L"'",
                                  L"Failed to delete key '" + path + L"'"});
  }
}

}  // namespace quillon
