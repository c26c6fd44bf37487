// The stand-in for the COM+ administration catalogue (complus_standin.h says what it offers and
// how tests script and read it). Its objects answer IDispatch by member names only, as a
// late-bound client uses them: no type information.

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue_file.h"
#include "complus_standin.h"
#include "inproc_server/inproc_server.h"

namespace {

using complus_standin::Object;
using complus_standin::Store;
using complus_standin::Value;

// inproc_server::objects counts the live catalogues, collections and objects.

// A string value under HKCU\<kComPlusStandInKey>; empty when it is missing.
std::wstring Control(const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kComPlusStandInKey, name, RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kComPlusStandInKey, name, RRF_RT_REG_SZ, nullptr, &text[0],
                   &bytes) != ERROR_SUCCESS) {
    return {};
  }
  text.resize(wcslen(text.c_str()));
  return text;
}

void SetControl(const wchar_t* name, const std::wstring& text) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kComPlusStandInKey, name, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void Record(const std::wstring& event) {
  SetControl(L"Log", Control(L"Log") + event + L";");
}

HRESULT FailCode() {
  const std::wstring text = Control(L"FailCode");
  const HRESULT code = static_cast<HRESULT>(wcstoul(text.c_str(), nullptr, 16));
  return FAILED(code) ? code : E_FAIL;
}

// A refusal of the catalogue: the call answers DISP_E_EXCEPTION with this description (none
// when empty) and code.
struct Refusal {
  std::wstring description;
  HRESULT code;
};

// A call the member does not take (argument count or types, call kind): answered with `hr`.
struct BadCall {
  HRESULT hr;
};

// Records the event of an operation, or refuses it when "Fail" names it.
void Step(const std::wstring& op, const std::wstring& qualifier, const std::wstring& detail) {
  const std::wstring event = detail.empty() ? op : op + L" " + detail;
  const std::wstring fail = Control(L"Fail");
  if (!fail.empty() && (fail == op || fail == op + L":" + qualifier)) {
    Record(event + L" failed");
    throw Refusal{Control(L"FailDescription"), FailCode()};
  }
  Record(event);
}

std::wstring StorePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(inproc_server::module, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + kComPlusStandInStore;
}

Store LoadStore() {
  Store store;
  std::wstring error;
  if (!complus_standin::ReadStore(StorePath(), &store, &error)) {
    throw Refusal{L"The catalogue store cannot be read: " + error, E_FAIL};
  }
  return store;
}

void SaveStore(const Store& store) {
  if (!complus_standin::WriteStore(StorePath(), store)) {
    throw Refusal{L"The catalogue store cannot be written: " + StorePath(), E_FAIL};
  }
}

std::wstring NewKey() {
  GUID guid{};
  CoCreateGuid(&guid);
  wchar_t text[64];
  StringFromGUID2(guid, text, 64);
  return text;
}

// The first application named `name`, or whose key is `name`; refused when there is none.
Object& Application(Store& store, const std::wstring& name) {
  for (Object& app : store.applications) {
    if (app.Name() == name || lstrcmpiW(app.key.c_str(), name.c_str()) == 0) return app;
  }
  throw Refusal{L"The catalogue holds no application \"" + name + L"\".",
                static_cast<HRESULT>(0x80110809)};  // the object does not exist
}

enum Member : DISPID {
  kGetCollection = 1,
  kInstallComponent,
  kShutdownApplication,
  kPopulate,
  kCount,
  kItem,
  kAdd,
  kRemove,
  kSaveChanges,
  kName,
  kKey,
  kValue,
};

struct MemberName {
  Member id;
  const wchar_t* name;
};
constexpr MemberName kMembers[] = {
    {kGetCollection, L"GetCollection"},
    {kInstallComponent, L"InstallComponent"},
    {kShutdownApplication, L"ShutdownApplication"},
    {kPopulate, L"Populate"},
    {kCount, L"Count"},
    {kItem, L"Item"},
    {kAdd, L"Add"},
    {kRemove, L"Remove"},
    {kSaveChanges, L"SaveChanges"},
    {kName, L"Name"},
    {kKey, L"Key"},
    {kValue, L"Value"},
};

// The arguments of one Invoke in the order the member declares them, and the value of a
// property put.
class Args {
 public:
  Args(const DISPPARAMS* params, WORD flags) {
    const UINT count = params ? params->cArgs : 0;
    const UINT named = params ? params->cNamedArgs : 0;
    UINT first = 0;
    if (flags & DISPATCH_PROPERTYPUT) {
      if (named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || count < 1) {
        throw BadCall{DISP_E_PARAMNOTOPTIONAL};
      }
      put_ = &params->rgvarg[0];
      first = 1;
    } else if (named != 0) {
      throw BadCall{DISP_E_NONAMEDARGS};
    }
    for (UINT i = count; i > first; --i) positional_.push_back(&params->rgvarg[i - 1]);
  }

  void Expect(size_t count) const {
    if (positional_.size() != count) throw BadCall{DISP_E_BADPARAMCOUNT};
  }
  std::wstring Text(size_t i) const {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, positional_.at(i), 0, VT_BSTR))) {
      throw BadCall{DISP_E_TYPEMISMATCH};
    }
    std::wstring text(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
    VariantClear(&v);
    return text;
  }
  long Long(size_t i) const {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, positional_.at(i), 0, VT_I4))) {
      throw BadCall{DISP_E_TYPEMISMATCH};
    }
    return V_I4(&v);
  }
  // The value put: a text, a Boolean, or any integer as a number.
  Value Put() const {
    if (!put_) throw BadCall{DISP_E_PARAMNOTOPTIONAL};
    const VARTYPE type = V_VT(put_);
    if (type == VT_BSTR) return std::wstring(V_BSTR(put_), SysStringLen(V_BSTR(put_)));
    if (type == VT_BOOL) return V_BOOL(put_) != VARIANT_FALSE;
    if (type == VT_I1 || type == VT_I2 || type == VT_I4 || type == VT_UI1 || type == VT_UI2 ||
        type == VT_UI4 || type == VT_INT || type == VT_UINT) {
      VARIANT v;
      VariantInit(&v);
      if (SUCCEEDED(VariantChangeType(&v, put_, 0, VT_I4))) return static_cast<long>(V_I4(&v));
    }
    throw BadCall{DISP_E_TYPEMISMATCH};
  }

 private:
  std::vector<VARIANT*> positional_;
  VARIANT* put_ = nullptr;
};

// The call kind a member needs: DISPATCH_METHOD, _PROPERTYGET or _PROPERTYPUT.
void Need(WORD flags, WORD kind) {
  if ((flags & kind) == 0) throw BadCall{DISP_E_MEMBERNOTFOUND};
}

void ReturnLong(VARIANT* result, long number) {
  if (!result) return;
  V_VT(result) = VT_I4;
  V_I4(result) = number;
}

void ReturnText(VARIANT* result, const std::wstring& text) {
  if (!result) return;
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void ReturnValue(VARIANT* result, const Value& value) {
  if (!result) return;
  if (const auto* text = std::get_if<std::wstring>(&value)) return ReturnText(result, *text);
  if (const auto* number = std::get_if<long>(&value)) return ReturnLong(result, *number);
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = std::get<bool>(value) ? VARIANT_TRUE : VARIANT_FALSE;
}

// Common ground of the catalogue's objects: reference counting, names, and Invoke turning
// refusals into exceptions of the automation layer.
class Dispatch : public IDispatch {
 public:
  Dispatch() { InterlockedIncrement(&inproc_server::objects); }
  virtual ~Dispatch() {
    if (InterlockedDecrement(&inproc_server::objects) == 0) Record(L"release");
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    // Member names regardless of letter case, as automation has them; no argument names.
    for (const MemberName& m : kMembers) {
      if (Has(m.id) && lstrcmpiW(names[0], m.name) == 0) ids[0] = m.id;
    }
    if (ids[0] == DISPID_UNKNOWN) {
      Record(std::wstring(L"unknown ") + names[0]);
      return DISP_E_UNKNOWNNAME;
    }
    return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    if (!Has(id)) return DISP_E_MEMBERNOTFOUND;
    if (result != nullptr) VariantInit(result);
    try {
      Args args(params, flags);
      Call(static_cast<Member>(id), flags, args, result);
      return S_OK;
    } catch (const BadCall& bad) {
      return bad.hr;
    } catch (const Refusal& refusal) {
      if (exception != nullptr) {
        ZeroMemory(exception, sizeof(*exception));
        exception->bstrSource = SysAllocString(L"Quillon test COM+ catalogue");
        if (!refusal.description.empty()) {
          exception->bstrDescription = SysAllocString(refusal.description.c_str());
        }
        exception->scode = refusal.code;
      }
      return DISP_E_EXCEPTION;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

 protected:
  virtual bool Has(DISPID id) const = 0;
  virtual void Call(Member id, WORD flags, const Args& args, VARIANT* result) = 0;

  static void ReturnObject(VARIANT* result, Dispatch* object) {
    if (!result) {
      object->Release();
      return;
    }
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
  }

 private:
  LONG refs_ = 1;
};

// One object of a working copy: what Populate read or Add made, and what was set since.
struct WorkingItem {
  Object object;
  bool added = false;
  std::vector<std::wstring> changed;  // properties set since the copy was made
};

struct WorkingCopy {
  std::wstring name;    // "Applications" or "Components"
  std::wstring parent;  // the application's key, for its components
  std::vector<std::shared_ptr<WorkingItem>> items;
  std::vector<std::wstring> removed;  // keys of stored objects removed from the copy
};

class CatalogueObject final : public Dispatch {
 public:
  explicit CatalogueObject(std::shared_ptr<WorkingItem> item) : item_(std::move(item)) {}

 protected:
  bool Has(DISPID id) const override { return id == kName || id == kKey || id == kValue; }

  void Call(Member id, WORD flags, const Args& args, VARIANT* result) override {
    Object& object = item_->object;
    if (id == kName || id == kKey) {
      Need(flags, DISPATCH_PROPERTYGET);
      args.Expect(0);
      return ReturnText(result, id == kName ? object.Name() : object.key);
    }
    args.Expect(1);
    const std::wstring property = args.Text(0);
    if (flags & DISPATCH_PROPERTYPUT) {
      const Value value = args.Put();
      Step(L"Value", property, property);
      object.Set(property, value);
      bool listed = false;
      for (const std::wstring& name : item_->changed) listed = listed || name == property;
      if (!listed) item_->changed.push_back(property);
      return;
    }
    Need(flags, DISPATCH_PROPERTYGET);
    const Value* value = object.Find(property);
    if (!value) throw Refusal{L"The object has no property \"" + property + L"\".", E_INVALIDARG};
    ReturnValue(result, *value);
  }

 private:
  std::shared_ptr<WorkingItem> item_;
};

class Collection final : public Dispatch {
 public:
  Collection(std::wstring name, std::wstring parent) : copy_(std::make_shared<WorkingCopy>()) {
    copy_->name = std::move(name);
    copy_->parent = std::move(parent);
  }

 protected:
  bool Has(DISPID id) const override {
    return id == kPopulate || id == kCount || id == kItem || id == kAdd || id == kRemove ||
           id == kSaveChanges || id == kGetCollection;
  }

  void Call(Member id, WORD flags, const Args& args, VARIANT* result) override {
    WorkingCopy& copy = *copy_;
    const bool is_applications = copy.name == L"Applications";
    switch (id) {
      case kPopulate: {
        Need(flags, DISPATCH_METHOD);
        args.Expect(0);
        Step(L"Populate", copy.name, copy.name);
        Store store = LoadStore();
        std::vector<Object>& stored =
            is_applications ? store.applications : Application(store, copy.parent).components;
        copy.items.clear();
        copy.removed.clear();
        for (Object object : stored) {
          object.components.clear();
          auto item = std::make_shared<WorkingItem>();
          item->object = std::move(object);
          copy.items.push_back(item);
        }
        return;
      }
      case kCount:
        Need(flags, DISPATCH_PROPERTYGET);
        args.Expect(0);
        return ReturnLong(result, static_cast<long>(copy.items.size()));
      case kItem: {
        Need(flags, DISPATCH_PROPERTYGET);
        args.Expect(1);
        const long index = args.Long(0);
        CheckIndex(index);
        return ReturnObject(result, new CatalogueObject(copy.items[static_cast<size_t>(index)]));
      }
      case kAdd: {
        Need(flags, DISPATCH_METHOD);
        args.Expect(0);
        Step(L"Add", copy.name, copy.name);
        if (!is_applications) {
          throw Refusal{L"Components are installed from their files, not added.", E_NOTIMPL};
        }
        auto item = std::make_shared<WorkingItem>();
        item->object.key = NewKey();
        item->object.Set(L"Name", std::wstring(L"New Application"));
        item->object.Set(L"Identity", std::wstring(L"Interactive User"));
        item->added = true;
        copy.items.push_back(item);
        return ReturnObject(result, new CatalogueObject(item));
      }
      case kRemove: {
        Need(flags, DISPATCH_METHOD);
        args.Expect(1);
        const long index = args.Long(0);
        Step(L"Remove", copy.name, copy.name + L" " + std::to_wstring(index));
        CheckIndex(index);
        const auto at = copy.items.begin() + index;
        if (!(*at)->added) copy.removed.push_back((*at)->object.key);
        copy.items.erase(at);
        return;
      }
      case kSaveChanges:
        Need(flags, DISPATCH_METHOD);
        args.Expect(0);
        Step(L"SaveChanges", copy.name, copy.name);
        return ReturnLong(result, Save());
      case kGetCollection: {
        Need(flags, DISPATCH_METHOD);
        args.Expect(2);
        const std::wstring name = args.Text(0);
        const std::wstring key = args.Text(1);
        Step(L"GetCollection", name, name);
        if (!is_applications || name != L"Components") {
          throw Refusal{
              L"The collection \"" + copy.name + L"\" has no related collection \"" + name + L"\".",
              E_INVALIDARG};
        }
        return ReturnObject(result, new Collection(name, key));
      }
      default:
        throw BadCall{DISP_E_MEMBERNOTFOUND};
    }
  }

 private:
  void CheckIndex(long index) const {
    if (index < 0 || static_cast<size_t>(index) >= copy_->items.size()) {
      throw Refusal{L"The index " + std::to_wstring(index) + L" is out of range.", E_INVALIDARG};
    }
  }

  // Writes what changed in the working copy into the store; the number of changed objects.
  long Save() {
    WorkingCopy& copy = *copy_;
    Store store = LoadStore();
    std::vector<Object>& stored = copy.name == L"Applications"
                                      ? store.applications
                                      : Application(store, copy.parent).components;
    long changes = 0;
    for (const std::wstring& key : copy.removed) {
      for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (it->key == key) {
          stored.erase(it);
          ++changes;
          break;
        }
      }
    }
    for (const auto& item : copy.items) {
      if (item->added) {
        stored.push_back(item->object);
        ++changes;
      } else if (!item->changed.empty()) {
        for (Object& object : stored) {
          if (object.key != item->object.key) continue;
          for (const std::wstring& name : item->changed) object.Set(name, *item->object.Find(name));
          ++changes;
        }
      }
      item->added = false;
      item->changed.clear();
    }
    copy.removed.clear();
    SaveStore(store);
    return changes;
  }

  std::shared_ptr<WorkingCopy> copy_;
};

// The components a DLL holds, from the list beside it; refused when the file or its list is
// missing.
std::vector<std::wstring> ComponentsOf(const std::wstring& dll) {
  if (GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw Refusal{L"The file \"" + dll + L"\" does not exist.",
                  HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)};
  }
  HANDLE file = CreateFileW((dll + L".components").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw Refusal{L"\"" + dll + L"\" holds no components.", static_cast<HRESULT>(0x80110425)};
  }
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  std::vector<std::wstring> progids;
  std::wstring line;
  for (char c : bytes + "\n") {
    if (c == '\n') {
      while (!line.empty() && (line.back() == L'\r' || line.back() == L' ')) line.pop_back();
      if (!line.empty()) progids.push_back(line);
      line.clear();
    } else {
      line += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  return progids;
}

class Catalogue final : public Dispatch {
 protected:
  bool Has(DISPID id) const override {
    return id == kGetCollection || id == kInstallComponent || id == kShutdownApplication;
  }

  void Call(Member id, WORD flags, const Args& args, VARIANT* result) override {
    Need(flags, DISPATCH_METHOD);
    if (id == kGetCollection) {
      args.Expect(1);
      const std::wstring name = args.Text(0);
      Step(L"GetCollection", name, name);
      if (name != L"Applications") {
        throw Refusal{L"The catalogue has no collection \"" + name + L"\".", E_INVALIDARG};
      }
      return ReturnObject(result, new Collection(name, L""));
    }
    if (id == kShutdownApplication) {
      args.Expect(1);
      const std::wstring app = args.Text(0);
      Step(L"ShutdownApplication", app, app);
      Store store = LoadStore();
      Application(store, app);
      return;
    }
    args.Expect(4);
    const std::wstring app = args.Text(0), dll = args.Text(1);
    const std::wstring type_library = args.Text(2), proxy_stub = args.Text(3);
    Step(L"InstallComponent", app, app + L"|" + dll + L"|" + type_library + L"|" + proxy_stub);
    Store store = LoadStore();
    Object& application = Application(store, app);
    for (const std::wstring& progid : ComponentsOf(dll)) {
      Object component;
      component.key = NewKey();
      component.Set(L"Name", progid);
      component.Set(L"DLL", dll);
      application.components.push_back(component);
    }
    SaveStore(store);
  }
};

HRESULT CreateCatalogue(REFIID riid, void** out) {
  if (Control(L"Fail") == L"create") {
    Record(L"create failed");
    return FailCode();
  }
  Record(L"create");
  Catalogue* catalogue = new Catalogue();
  const HRESULT hr = catalogue->QueryInterface(riid, out);
  catalogue->Release();
  return hr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  inproc_server::Attach(instance, reason);
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  return inproc_server::GetClassObject(clsid, kComPlusStandInClsid, CreateCatalogue, riid, out);
}

STDAPI DllCanUnloadNow() {
  return inproc_server::CanUnloadNow();
}

STDAPI DllRegisterServer() {
  return inproc_server::Register(kComPlusStandInClsid, kComPlusStandInProgId,
                                 L"Quillon test stand-in for the COM+ catalogue");
}

STDAPI DllUnregisterServer() {
  return inproc_server::Unregister(kComPlusStandInClsid, kComPlusStandInProgId);
}
