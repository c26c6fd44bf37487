#include "platform/win32/win32_admin_catalogue.h"

#include <utility>
#include <variant>

#include "platform/win32/win32_dispatch.h"

namespace quillon {

namespace {

// The catalogue's own words, as the user is to read them.
[[noreturn]] void Fail(const std::wstring&, const std::wstring& text) {
  throw CatalogueError(text);
}

Variant ToVariant(const CatalogueValue& value) {
  return std::visit([](const auto& v) { return Variant(v); }, value);
}

class Win32Object : public CatalogueObject {
 public:
  explicit Win32Object(DispatchRef object) : object_(std::move(object)) {}

  std::wstring Name() override { return object_.GetText(L"Name"); }
  std::wstring Key() override { return object_.GetText(L"Key"); }
  void SetValue(const std::wstring& property, const CatalogueValue& value) override {
    object_.Invoke(L"Value", DISPATCH_PROPERTYPUT, {property, ToVariant(value)});
  }

 private:
  DispatchRef object_;
};

class Win32Collection : public CatalogueCollection {
 public:
  explicit Win32Collection(DispatchRef collection) : collection_(std::move(collection)) {}

  void Populate() override { collection_.Call(L"Populate"); }
  long Count() override { return collection_.GetLong(L"Count"); }
  std::unique_ptr<CatalogueObject> Item(long index) override {
    return std::make_unique<Win32Object>(
        collection_.GetDispatch(L"Item", DISPATCH_PROPERTYGET, {index}));
  }
  std::unique_ptr<CatalogueObject> Add() override {
    return std::make_unique<Win32Object>(collection_.GetDispatch(L"Add", DISPATCH_METHOD));
  }
  void Remove(long index) override { collection_.Call(L"Remove", {index}); }
  void SaveChanges() override { collection_.Call(L"SaveChanges"); }
  std::unique_ptr<CatalogueCollection> GetCollection(const std::wstring& name,
                                                     const std::wstring& key) override {
    return std::make_unique<Win32Collection>(
        collection_.GetDispatch(L"GetCollection", DISPATCH_METHOD, {name, key}));
  }

 private:
  DispatchRef collection_;
};

class Win32Catalogue : public Catalogue {
 public:
  explicit Win32Catalogue(DispatchRef catalogue) : catalogue_(std::move(catalogue)) {}

  std::unique_ptr<CatalogueCollection> GetCollection(const std::wstring& name) override {
    return std::make_unique<Win32Collection>(
        catalogue_.GetDispatch(L"GetCollection", DISPATCH_METHOD, {name}));
  }
  void InstallComponent(const std::wstring& application, const std::wstring& dll,
                        const std::wstring& type_library, const std::wstring& proxy_stub) override {
    catalogue_.Call(L"InstallComponent", {application, dll, type_library, proxy_stub});
  }
  void ShutdownApplication(const std::wstring& application) override {
    catalogue_.Call(L"ShutdownApplication", {application});
  }

 private:
  DispatchRef catalogue_;
};

}  // namespace

std::unique_ptr<Catalogue> Win32CatalogueService::Open() {
  return std::make_unique<Win32Catalogue>(DispatchRef::Create(kAdminCatalogueProgId, Fail));
}

}  // namespace quillon
