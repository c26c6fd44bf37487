#include "platform/fake/fake_admin_catalogue.h"

#include <memory>

#include "base/text.h"

namespace quillon {

namespace {

using StoreItem = FakeCatalogueService::Item;

// One object of a working copy.
class FakeObject : public CatalogueObject {
 public:
  FakeObject(FakeCatalogueService& s, std::shared_ptr<std::vector<StoreItem>> items, size_t index)
      : s_(s), items_(std::move(items)), index_(index) {}
  std::wstring Name() override { return item().Name(); }
  std::wstring Key() override { return item().key; }
  void SetValue(const std::wstring& property, const CatalogueValue& value) override {
    s_.Step(L"SetValue " + property);
    item().values[property] = value;
  }

 private:
  StoreItem& item() { return items_->at(index_); }
  FakeCatalogueService& s_;
  std::shared_ptr<std::vector<StoreItem>> items_;
  size_t index_;
};

class FakeCollection : public CatalogueCollection {
 public:
  // `owner_key` empty: the applications; else the components of that application.
  FakeCollection(FakeCatalogueService& s, std::wstring name, std::wstring owner_key)
      : s_(s),
        name_(std::move(name)),
        owner_key_(std::move(owner_key)),
        items_(std::make_shared<std::vector<StoreItem>>()) {}

  void Populate() override {
    s_.Step(L"Populate " + name_);
    *items_ = Stored();
    populated_ = true;
  }
  long Count() override { return static_cast<long>(items_->size()); }
  std::unique_ptr<CatalogueObject> Item(long index) override {
    if (index < 0 || index >= Count()) throw CatalogueError(L"Index out of range");
    return std::make_unique<FakeObject>(s_, items_, static_cast<size_t>(index));
  }
  std::unique_ptr<CatalogueObject> Add() override {
    s_.Step(L"Add " + name_);
    FakeCatalogueService::Item item;
    item.key = s_.NewKey();
    item.values[L"Name"] = std::wstring(L"New Application");
    items_->push_back(item);
    return std::make_unique<FakeObject>(s_, items_, items_->size() - 1);
  }
  void Remove(long index) override {
    s_.Step(L"Remove " + name_ + L" " + IntToText(index));
    if (index < 0 || index >= Count()) throw CatalogueError(L"Index out of range");
    items_->erase(items_->begin() + index);
  }
  void SaveChanges() override {
    s_.Step(L"SaveChanges " + name_);
    if (!populated_) return;
    if (owner_key_.empty()) {
      // Application properties come from the working copy; components stay as stored.
      std::vector<FakeCatalogueService::Item> saved = *items_;
      for (auto& a : saved) {
        a.components.clear();
        for (const auto& old : s_.applications) {
          if (old.key == a.key) a.components = old.components;
        }
      }
      s_.applications = saved;
    } else if (auto* owner = Owner()) {
      owner->components = *items_;
    }
  }
  std::unique_ptr<CatalogueCollection> GetCollection(const std::wstring& name,
                                                     const std::wstring& key) override {
    s_.Step(L"GetCollection " + name);
    if (name != L"Components" || !owner_key_.empty()) throw CatalogueError(L"No such collection");
    return std::make_unique<FakeCollection>(s_, name, key);
  }

 private:
  FakeCatalogueService::Item* Owner() {
    for (auto& a : s_.applications) {
      if (a.key == owner_key_) return &a;
    }
    return nullptr;
  }
  std::vector<FakeCatalogueService::Item> Stored() {
    if (owner_key_.empty()) return s_.applications;
    auto* owner = Owner();
    return owner ? owner->components : std::vector<FakeCatalogueService::Item>{};
  }

  FakeCatalogueService& s_;
  std::wstring name_, owner_key_;
  std::shared_ptr<std::vector<FakeCatalogueService::Item>> items_;
  bool populated_ = false;
};

class FakeCatalogue : public Catalogue {
 public:
  explicit FakeCatalogue(FakeCatalogueService& s) : s_(s) {}
  std::unique_ptr<CatalogueCollection> GetCollection(const std::wstring& name) override {
    s_.Step(L"GetCollection " + name);
    if (name != L"Applications") throw CatalogueError(L"No such collection");
    return std::make_unique<FakeCollection>(s_, name, L"");
  }
  void InstallComponent(const std::wstring& application, const std::wstring& dll,
                        const std::wstring&, const std::wstring&) override {
    s_.Step(L"InstallComponent " + application + L" " + dll);
    auto listed = s_.dll_components.find(dll);
    if (listed == s_.dll_components.end()) {
      throw CatalogueError(L"One or more files do not contain components or type libraries.");
    }
    for (auto& a : s_.applications) {
      if (a.Name() != application) continue;
      for (const auto& progid : listed->second) {
        FakeCatalogueService::Item c;
        c.key = s_.NewKey();
        c.values[L"Name"] = progid;
        a.components.push_back(c);
      }
      return;
    }
    throw CatalogueError(L"The application was not found.");
  }
  void ShutdownApplication(const std::wstring& application) override {
    s_.Step(L"ShutdownApplication " + application);
  }

 private:
  FakeCatalogueService& s_;
};

}  // namespace

std::wstring FakeCatalogueService::Item::Name() const {
  auto it = values.find(L"Name");
  if (it == values.end()) return {};
  const auto* text = std::get_if<std::wstring>(&it->second);
  return text ? *text : std::wstring();
}

std::unique_ptr<Catalogue> FakeCatalogueService::Open() {
  Step(L"Open");
  return std::make_unique<FakeCatalogue>(*this);
}

std::wstring FakeCatalogueService::AddApplication(const std::wstring& name) {
  Item a;
  a.key = NewKey();
  a.values[L"Name"] = name;
  applications.push_back(a);
  return a.key;
}

std::vector<const FakeCatalogueService::Item*> FakeCatalogueService::Named(
    const std::wstring& name) const {
  std::vector<const Item*> out;
  for (const auto& a : applications) {
    if (a.Name() == name) out.push_back(&a);
  }
  return out;
}

void FakeCatalogueService::Step(const std::wstring& op) {
  log.push_back(op);
  if (!fail_at.empty() && op == fail_at) throw CatalogueError(L"The catalogue refused " + op);
}

std::wstring FakeCatalogueService::NewKey() {
  return L"{00000000-0000-0000-0000-" + IntToText(100000000000LL + next_key_++) + L"}";
}

}  // namespace quillon
