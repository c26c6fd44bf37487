#include "platform/fake/fake_registry.h"

#include <vector>

#include "base/text.h"

namespace quillon {

namespace {

std::vector<std::wstring> SplitKeyPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : path) {
    if (c == L'\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

}  // namespace

class FakeRegistryKey : public RegistryKey {
 public:
  FakeRegistryKey(FakeRegistry& reg, FakeRegistry::Key& key, bool writable)
      : reg_(reg), key_(key), writable_(writable) {}

  RegValueKind ValueKind(const std::wstring& name) override {
    auto it = key_.values.find(UpperAscii(name));
    return it == key_.values.end() ? RegValueKind::Missing : it->second.kind;
  }
  std::wstring ReadString(const std::wstring& name) override {
    auto it = key_.values.find(UpperAscii(name));
    return it == key_.values.end() ? std::wstring() : it->second.text;
  }
  uint32_t ReadDword(const std::wstring& name) override {
    auto it = key_.values.find(UpperAscii(name));
    return it == key_.values.end() ? 0 : it->second.dword;
  }
  std::vector<std::wstring> ValueNames() override { return key_.order; }
  bool DeleteValue(const std::wstring& name) override {
    if (!writable_ || key_.values.erase(UpperAscii(name)) == 0) return false;
    FakeRegistry::Forget(key_, name);
    reg_.Touch(key_);
    ++reg_.write_count_;
    return true;
  }
  bool WriteString(const std::wstring& name, const std::wstring& text) override {
    if (!writable_) return false;
    FakeRegistry::Value v;
    v.kind = RegValueKind::String;
    v.text = text;
    Store(name, v);
    return true;
  }
  bool WriteDword(const std::wstring& name, uint32_t value) override {
    if (!writable_) return false;
    FakeRegistry::Value v;
    v.kind = RegValueKind::Dword;
    v.dword = value;
    Store(name, v);
    return true;
  }

 private:
  void Store(const std::wstring& name, const FakeRegistry::Value& v) {
    FakeRegistry::Remember(key_, name);
    key_.values[UpperAscii(name)] = v;
    reg_.Touch(key_);
    ++reg_.write_count_;
  }

  FakeRegistry& reg_;
  FakeRegistry::Key& key_;
  bool writable_;
};

void FakeRegistry::Remember(Key& key, const std::wstring& name) {
  if (key.values.count(UpperAscii(name)) == 0) key.order.push_back(name);
}

void FakeRegistry::Forget(Key& key, const std::wstring& name) {
  for (auto it = key.order.begin(); it != key.order.end(); ++it) {
    if (SameTextAscii(*it, name)) {
      key.order.erase(it);
      return;
    }
  }
}

FakeRegistry::FakeRegistry() {
  user_.name = L"HKEY_CURRENT_USER";
  machine_.name = L"HKEY_LOCAL_MACHINE";
  machine64_.name = L"HKEY_LOCAL_MACHINE (64-bit view)";
}

FakeRegistry::Key* FakeRegistry::Find(RootKey root, const std::wstring& path) {
  Key* key = &RootOf(root);
  for (const auto& part : SplitKeyPath(path)) {
    auto it = key->subkeys.find(UpperAscii(part));
    if (it == key->subkeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

FakeRegistry::Key* FakeRegistry::Create(RootKey root, const std::wstring& path) {
  Key* key = &RootOf(root);
  for (const auto& part : SplitKeyPath(path)) {
    auto& slot = key->subkeys[UpperAscii(part)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = part;
      Touch(*slot);
      Touch(*key);
    }
    key = slot.get();
  }
  return key;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenForRead(RootKey root, const std::wstring& path) {
  Key* key = Find(root, path);
  if (!key) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, *key, false);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenExisting(RootKey root, const std::wstring& path) {
  Key* key = Find(root, path);
  if (!key) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, *key, !Denied(root));
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenForWrite(RootKey root, const std::wstring& path) {
  if (Denied(root)) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, *Create(root, path), true);
}

bool FakeRegistry::KeyExists(RootKey root, const std::wstring& path) {
  return Find(root, path) != nullptr;
}

bool FakeRegistry::DeleteTree(RootKey root, const std::wstring& path) {
  if (Denied(root)) return false;
  auto parts = SplitKeyPath(path);
  if (parts.empty()) return false;  // a root itself cannot be deleted
  const std::wstring leaf = parts.back();
  parts.pop_back();
  std::wstring parent_path;
  for (const auto& p : parts) parent_path += p + L"\\";
  Key* parent = Find(root, parent_path);
  if (!parent) return false;
  if (parent->subkeys.erase(UpperAscii(leaf)) == 0) return false;
  Touch(*parent);
  return true;
}

std::optional<uint64_t> FakeRegistry::LastWriteTime(RootKey root, const std::wstring& path) {
  Key* key = Find(root, path);
  if (!key) return std::nullopt;
  return key->last_write;
}

void FakeRegistry::DenyWrites(RootKey root, bool deny) {
  // Both views of the machine hive share their rights.
  (root == RootKey::CurrentUser ? deny_user_ : deny_machine_) = deny;
}

void FakeRegistry::Set(RootKey root, const std::wstring& path, const std::wstring& name,
                       const Value& value) {
  Key* key = Create(root, path);
  Remember(*key, name);
  key->values[UpperAscii(name)] = value;
  Touch(*key);
}

void FakeRegistry::SetString(RootKey root, const std::wstring& path, const std::wstring& name,
                             const std::wstring& text) {
  Value v;
  v.kind = RegValueKind::String;
  v.text = text;
  Set(root, path, name, v);
}

std::optional<FakeRegistry::Value> FakeRegistry::Get(RootKey root, const std::wstring& path,
                                                     const std::wstring& name) {
  Key* key = Find(root, path);
  if (!key) return std::nullopt;
  auto it = key->values.find(UpperAscii(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

namespace {

void Collect(const FakeRegistry::Key& key, const std::wstring& path,
             std::vector<FakeRegistry::Entry>& out) {
  for (const auto& [upper, value] : key.values) {
    std::wstring name = upper;
    for (const auto& n : key.order) {
      if (UpperAscii(n) == upper) name = n;
    }
    out.push_back({path, name, value});
  }
  for (const auto& [upper, child] : key.subkeys) {
    Collect(*child, path.empty() ? child->name : path + L"\\" + child->name, out);
  }
}

}  // namespace

std::vector<FakeRegistry::Entry> FakeRegistry::All(RootKey root) {
  std::vector<Entry> out;
  Collect(RootOf(root), L"", out);
  return out;
}

}  // namespace quillon
