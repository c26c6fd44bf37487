#include "platform/win32/win32_registry.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace quillon {

namespace {

HKEY RootHandle(RootKey root) {
  return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM ViewFlag(RootKey root) {
  if (root == RootKey::LocalMachine) return KEY_WOW64_32KEY;
  if (root == RootKey::LocalMachine64) return KEY_WOW64_64KEY;
  return 0;
}

// Reg* calls take paths relative to the root without a leading backslash.
std::wstring Relative(const std::wstring& path) {
  size_t i = 0;
  while (i < path.size() && path[i] == L'\\') ++i;
  std::wstring out = path.substr(i);
  while (!out.empty() && out.back() == L'\\') out.pop_back();
  return out;
}

// Owns an open HKEY.
class KeyHandle {
 public:
  explicit KeyHandle(HKEY key) : key_(key) {}
  ~KeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}

  RegValueKind ValueKind(const std::wstring& name) override {
    DWORD type = 0;
    if (RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return RegValueKind::Missing;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) return RegValueKind::String;
    if (type == REG_DWORD) return RegValueKind::Dword;
    return RegValueKind::Other;
  }

  std::wstring ReadString(const std::wstring& name) override {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return {};
    }
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buf.data()), &got) != ERROR_SUCCESS) {
      return {};
    }
    std::wstring text(buf.data(), got / sizeof(wchar_t));
    // The stored data usually ends with its terminating NUL.
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }

  uint32_t ReadDword(const std::wstring& name) override {
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS) {
      return 0;
    }
    return value;
  }

  bool WriteString(const std::wstring& name, const std::wstring& text) override {
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
  }

  bool WriteDword(const std::wstring& name, uint32_t value) override {
    const DWORD v = value;
    return RegSetValueExW(key_.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                          sizeof(v)) == ERROR_SUCCESS;
  }

  std::vector<std::wstring> ValueNames() override {
    std::vector<std::wstring> names;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return names;
    }
    std::vector<wchar_t> buf(longest + 1);
    for (DWORD i = 0;; ++i) {
      DWORD length = static_cast<DWORD>(buf.size());
      const LONG r =
          RegEnumValueW(key_.get(), i, buf.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (r == ERROR_MORE_DATA) {
        buf.resize(buf.size() * 2);
        --i;
        continue;
      }
      if (r != ERROR_SUCCESS) break;
      names.emplace_back(buf.data(), length);
    }
    return names;
  }

  bool DeleteValue(const std::wstring& name) override {
    return RegDeleteValueW(key_.get(), name.c_str()) == ERROR_SUCCESS;
  }

 private:
  KeyHandle key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenForRead(RootKey root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), Relative(path).c_str(), 0, KEY_READ | ViewFlag(root), &key) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenExisting(RootKey root, const std::wstring& path) {
  HKEY key = nullptr;
  const std::wstring rel = Relative(path);
  if (RegOpenKeyExW(RootHandle(root), rel.c_str(), 0, KEY_READ | KEY_WRITE | ViewFlag(root),
                    &key) == ERROR_SUCCESS ||
      RegOpenKeyExW(RootHandle(root), rel.c_str(), 0, KEY_READ | ViewFlag(root), &key) ==
          ERROR_SUCCESS) {
    return std::make_unique<Win32Key>(key);
  }
  return nullptr;
}

std::unique_ptr<RegistryKey> Win32Registry::OpenForWrite(RootKey root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(RootHandle(root), Relative(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS | ViewFlag(root), nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

bool Win32Registry::KeyExists(RootKey root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), Relative(path).c_str(), 0, KEY_READ | ViewFlag(root), &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool Win32Registry::DeleteTree(RootKey root, const std::wstring& path) {
  const std::wstring rel = Relative(path);
  if (rel.empty()) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), rel.c_str(), 0, KEY_ALL_ACCESS | ViewFlag(root), &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  KeyHandle owned(key);
  // Empty the key first, then remove it through its parent in the same registry view.
  if (RegDeleteTreeW(owned.get(), nullptr) != ERROR_SUCCESS) return false;
  return RegDeleteKeyExW(RootHandle(root), rel.c_str(), ViewFlag(root), 0) == ERROR_SUCCESS;
}

std::optional<uint64_t> Win32Registry::LastWriteTime(RootKey root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), Relative(path).c_str(), 0, KEY_READ | ViewFlag(root), &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  KeyHandle owned(key);
  FILETIME ft{};
  if (RegQueryInfoKeyW(owned.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, &ft) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace quillon
