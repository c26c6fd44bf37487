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
  bool WriteString(const std::wstring& name, const std::wstring& text) override {
    if (!writable_) return false;
    FakeRegistry::Value v;
    v.kind = RegValueKind::String;
    v.text = text;
    key_.values[UpperAscii(name)] = v;
    reg_.Touch(key_);
    ++reg_.write_count_;
    return true;
  }
  bool WriteDword(const std::wstring& name, uint32_t value) override {
    if (!writable_) return false;
    FakeRegistry::Value v;
    v.kind = RegValueKind::Dword;
    v.dword = value;
    key_.values[UpperAscii(name)] = v;
    reg_.Touch(key_);
    ++reg_.write_count_;
    return true;
  }

 private:
  FakeRegistry& reg_;
  FakeRegistry::Key& key_;
  bool writable_;
};

FakeRegistry::FakeRegistry() {
  user_.name = L"HKEY_CURRENT_USER";
  machine_.name = L"HKEY_LOCAL_MACHINE";
}

FakeRegistry::Key* FakeRegistry::Find(RootKey root, const std::wstring& path) {
  Key* key = root == RootKey::CurrentUser ? &user_ : &machine_;
  for (const auto& part : SplitKeyPath(path)) {
    auto it = key->subkeys.find(UpperAscii(part));
    if (it == key->subkeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

FakeRegistry::Key* FakeRegistry::Create(RootKey root, const std::wstring& path) {
  Key* key = root == RootKey::CurrentUser ? &user_ : &machine_;
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

std::unique_ptr<RegistryKey> FakeRegistry::OpenForWrite(RootKey root, const std::wstring& path) {
  const bool denied = root == RootKey::CurrentUser ? deny_user_ : deny_machine_;
  if (denied) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, *Create(root, path), true);
}

bool FakeRegistry::KeyExists(RootKey root, const std::wstring& path) {
  return Find(root, path) != nullptr;
}

bool FakeRegistry::DeleteTree(RootKey root, const std::wstring& path) {
  const bool denied = root == RootKey::CurrentUser ? deny_user_ : deny_machine_;
  if (denied) return false;
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
  (root == RootKey::CurrentUser ? deny_user_ : deny_machine_) = deny;
}

void FakeRegistry::Set(RootKey root, const std::wstring& path, const std::wstring& name,
                       const Value& value) {
  Key* key = Create(root, path);
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

}  // namespace quillon
