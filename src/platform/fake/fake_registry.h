#pragma once
// In-memory registry with the platform's rules: two roots, case-insensitive key names,
// leading/trailing backslashes ignored, REG_SZ and REG_DWORD values, a key's last-write
// time (a counter that moves on every change), and roots that can be made read-only to
// play a user without administrative rights.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ports/registry.h"

namespace quillon {

class FakeRegistry : public Registry {
 public:
  struct Value {
    RegValueKind kind = RegValueKind::String;
    std::wstring text;
    uint32_t dword = 0;
  };
  struct Key {
    std::wstring name;                     // as first created
    std::map<std::wstring, Value> values;  // by upper-cased value name
    std::vector<std::wstring> order;       // value names as first written, in that order
    std::map<std::wstring, std::unique_ptr<Key>> subkeys;  // by upper-cased key name
    uint64_t last_write = 0;
  };

  FakeRegistry();

  std::unique_ptr<RegistryKey> OpenForRead(RootKey root, const std::wstring& path) override;
  std::unique_ptr<RegistryKey> OpenExisting(RootKey root, const std::wstring& path) override;
  std::unique_ptr<RegistryKey> OpenForWrite(RootKey root, const std::wstring& path) override;
  bool KeyExists(RootKey root, const std::wstring& path) override;
  bool DeleteTree(RootKey root, const std::wstring& path) override;
  std::optional<uint64_t> LastWriteTime(RootKey root, const std::wstring& path) override;

  // Test controls.
  void DenyWrites(RootKey root, bool deny = true);
  // Puts a value of any kind in place, creating the key (bypasses write denial).
  void Set(RootKey root, const std::wstring& path, const std::wstring& name, const Value& value);
  void SetString(RootKey root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& text);
  // The value, or nothing when key or value is missing.
  std::optional<Value> Get(RootKey root, const std::wstring& path, const std::wstring& name);
  // Every value of a root, key by key (parents first, keys and values in name order), with
  // the key paths as first created.
  struct Entry {
    std::wstring path, name;
    Value value;
  };
  std::vector<Entry> All(RootKey root);
  // Number of value writes that reached the store (unchanged writes are not counted).
  int write_count() const { return write_count_; }

 private:
  friend class FakeRegistryKey;
  static void Remember(Key& key, const std::wstring& name);
  static void Forget(Key& key, const std::wstring& name);
  Key* Find(RootKey root, const std::wstring& path);
  Key* Create(RootKey root, const std::wstring& path);
  void Touch(Key& key) { key.last_write = ++clock_; }

  Key& RootOf(RootKey root) {
    return root == RootKey::CurrentUser    ? user_
           : root == RootKey::LocalMachine ? machine_
                                           : machine64_;
  }
  bool Denied(RootKey root) const {
    return root == RootKey::CurrentUser ? deny_user_ : deny_machine_;
  }

  Key user_, machine_, machine64_;
  bool deny_user_ = false, deny_machine_ = false;
  uint64_t clock_ = 1;
  int write_count_ = 0;
};

}  // namespace quillon
