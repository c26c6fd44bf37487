#pragma once
// What every stand-in COM server DLL of the tests shares: an in-process server of one class,
// its module handle, its object, factory and lock counts, the class factory, and the
// registration of the class and its ProgID under HKEY_CLASSES_ROOT (where Wine looks a ProgID
// up). A stand-in defines its DLL entry points with these and supplies the object.

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <olectl.h>

#include <string>

namespace inproc_server {

inline HMODULE module = nullptr;
inline LONG objects = 0;    // the stand-in's own live objects, counted by the stand-in
inline LONG factories = 0;  // live class factories
inline LONG locks = 0;      // IClassFactory::LockServer count

// Makes a new object of the class and asks it for `riid`.
using Create = HRESULT (*)(REFIID riid, void** out);

class Factory final : public IClassFactory {
 public:
  explicit Factory(Create create) : create_(create) { InterlockedIncrement(&factories); }
  ~Factory() { InterlockedDecrement(&factories); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
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
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&locks);
    } else {
      InterlockedDecrement(&locks);
    }
    return S_OK;
  }

 private:
  Create create_;
  LONG refs_ = 1;
};

// DllMain's part: remembers the module, for the path the registration writes.
inline void Attach(HINSTANCE instance, DWORD reason) {
  if (reason == DLL_PROCESS_ATTACH) {
    module = instance;
    DisableThreadLibraryCalls(instance);
  }
}

// DllGetClassObject for the one class `own_clsid` ("{...}").
inline HRESULT GetClassObject(REFCLSID requested, const wchar_t* own_clsid, Create create,
                              REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  CLSID own{};
  CLSIDFromString(own_clsid, &own);
  if (!IsEqualCLSID(requested, own)) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* factory = new Factory(create);
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

inline HRESULT CanUnloadNow() {
  return objects == 0 && factories == 0 && locks == 0 ? S_OK : S_FALSE;
}

// Sets a string value (nullptr: the default value) of HKCR\<key_path>, creating the key.
inline bool SetClassString(const std::wstring& key_path, const wchar_t* value_name,
                           const std::wstring& text) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key_path.c_str(), value_name, REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// DllRegisterServer: the class (apartment-threaded, served by this DLL) and its ProgID.
inline HRESULT Register(const wchar_t* clsid, const wchar_t* progid, const std::wstring& name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  const std::wstring class_key = std::wstring(L"CLSID\\") + clsid;
  const bool ok =
      SetClassString(class_key, nullptr, name) &&
      SetClassString(class_key + L"\\InprocServer32", nullptr, path) &&
      SetClassString(class_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
      SetClassString(class_key + L"\\ProgID", nullptr, progid) &&
      SetClassString(progid, nullptr, name) &&
      SetClassString(std::wstring(progid) + L"\\CLSID", nullptr, clsid);
  return ok ? S_OK : SELFREG_E_CLASS;
}

// DllUnregisterServer: a registration that is already gone is not a failure.
inline HRESULT Unregister(const wchar_t* clsid, const wchar_t* progid) {
  const LONG a = RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsid).c_str());
  const LONG b = RegDeleteTreeW(HKEY_CLASSES_ROOT, progid);
  const bool ok = (a == ERROR_SUCCESS || a == ERROR_FILE_NOT_FOUND) &&
                  (b == ERROR_SUCCESS || b == ERROR_FILE_NOT_FOUND);
  return ok ? S_OK : SELFREG_E_CLASS;
}

}  // namespace inproc_server
