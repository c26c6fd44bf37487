#pragma once
// The Windows registry as the system sees it: two predefined roots, keys addressed by a
// path relative to a root (letter case, a leading and a trailing backslash do not matter),
// string and 32-bit integer values. Machine-hive keys live in the 32-bit registry view; the
// 64-bit view is reachable for reading what 64-bit programs record there.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// LocalMachine64: the machine hive in its 64-bit view (on 32-bit Windows the only view).
enum class RootKey { CurrentUser, LocalMachine, LocalMachine64 };

enum class RegValueKind { Missing, String, Dword, Other };

// One opened key. Closed when destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Kind of the named value; Missing when there is none.
  virtual RegValueKind ValueKind(const std::wstring& name) = 0;
  // Value as text; only meaningful when ValueKind is String (REG_SZ or REG_EXPAND_SZ).
  virtual std::wstring ReadString(const std::wstring& name) = 0;
  // Value as integer; only meaningful when ValueKind is Dword.
  virtual uint32_t ReadDword(const std::wstring& name) = 0;
  // Write a value; false when the registry refuses (no rights, read-only key).
  virtual bool WriteString(const std::wstring& name, const std::wstring& text) = 0;
  virtual bool WriteDword(const std::wstring& name, uint32_t value) = 0;
  // Names of the key's values, in the registry's order.
  virtual std::vector<std::wstring> ValueNames() = 0;
  // Deletes one value; false when it is refused or missing.
  virtual bool DeleteValue(const std::wstring& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key for reading only; nullptr when it is missing or cannot be read.
  // Never creates anything.
  virtual std::unique_ptr<RegistryKey> OpenForRead(RootKey root, const std::wstring& path) = 0;
  // Opens an existing key for reading and writing; nullptr when it is missing or cannot be
  // read. A key that may be read but not written opens all the same, and its writes fail.
  // Never creates anything.
  virtual std::unique_ptr<RegistryKey> OpenExisting(RootKey root, const std::wstring& path) = 0;
  // Opens a key with full access, creating it and every missing parent; nullptr when refused.
  virtual std::unique_ptr<RegistryKey> OpenForWrite(RootKey root, const std::wstring& path) = 0;
  // Whether a key exists (read-only test, creates nothing).
  virtual bool KeyExists(RootKey root, const std::wstring& path) = 0;
  // Deletes a key with everything under it. Returns false when it is refused; the key must
  // exist when this is called.
  virtual bool DeleteTree(RootKey root, const std::wstring& path) = 0;
  // Last-write time of a key in 100 ns units since 1601, or nothing when it is missing.
  virtual std::optional<uint64_t> LastWriteTime(RootKey root, const std::wstring& path) = 0;
};

}  // namespace quillon
