// The stand-in for Excel's automation server (see excel_standin.h for what tests set and read).
// Its object answers IDispatch by member names only, as a late-bound client uses it: no type
// information, no arguments.

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <cwchar>
#include <string>

#include "excel_standin.h"

namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;  // live objects and factories
LONG g_locks = 0;    // IClassFactory::LockServer count

CLSID OwnClsid() {
  CLSID clsid{};
  CLSIDFromString(kExcelStandInClsid, &clsid);
  return clsid;
}

// A string value under HKCU\<path>; empty when it is missing or not a string.
std::wstring ReadUserString(const wchar_t* path, const wchar_t* name, bool* found = nullptr) {
  DWORD bytes = 0;
  if (found) *found = false;
  if (RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, &text[0], &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  text.resize(wcslen(text.c_str()));
  if (found) *found = true;
  return text;
}

std::wstring Control(const wchar_t* name) {
  return ReadUserString(kExcelStandInKey, name);
}

void SetControl(const wchar_t* name, const std::wstring& text) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kExcelStandInKey, name, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void Record(const std::wstring& event) {
  SetControl(L"Log", Control(L"Log") + event + L";");
}

enum Member : DISPID { kVersion = 1, kProductCode = 2, kQuit = 3 };

struct MemberName {
  Member id;
  const wchar_t* name;
};
constexpr MemberName kMembers[] = {
    {kVersion, L"Version"}, {kProductCode, L"ProductCode"}, {kQuit, L"Quit"}};

const wchar_t* NameOf(DISPID id) {
  for (const MemberName& m : kMembers) {
    if (m.id == id) return m.name;
  }
  return nullptr;
}

class StandInExcel final : public IDispatch {
 public:
  StandInExcel() { InterlockedIncrement(&g_objects); }
  ~StandInExcel() { InterlockedDecrement(&g_objects); }

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
    if (left == 0) {
      Record(L"release");
      delete this;
    }
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
    // Names are matched regardless of letter case, as Excel does; argument names (the rest of
    // the array) are never asked for by a client without arguments.
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const MemberName& m : kMembers) {
      if (lstrcmpiW(names[0], m.name) == 0) ids[0] = m.id;
    }
    if (ids[0] == DISPID_UNKNOWN) {
      Record(std::wstring(L"unknown ") + names[0]);
      hr = DISP_E_UNKNOWNNAME;
    }
    if (count > 1) hr = DISP_E_UNKNOWNNAME;
    return hr;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    const wchar_t* name = NameOf(id);
    if (name == nullptr) return DISP_E_MEMBERNOTFOUND;
    if (params != nullptr && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    const bool is_method = id == kQuit;
    if (is_method ? (flags & DISPATCH_METHOD) == 0 : (flags & DISPATCH_PROPERTYGET) == 0) {
      return DISP_E_MEMBERNOTFOUND;
    }
    const std::wstring event = std::wstring(is_method ? L"call " : L"get ") + name;
    if (lstrcmpiW(Control(L"FailMember").c_str(), name) == 0) {
      Record(event + L" failed");
      if (exception != nullptr) {
        ZeroMemory(exception, sizeof(*exception));
        exception->bstrSource = SysAllocString(L"Quillon test Excel");
        const std::wstring description = Control(L"FailDescription");
        if (!description.empty()) exception->bstrDescription = SysAllocString(description.c_str());
        exception->scode = E_FAIL;
      }
      return DISP_E_EXCEPTION;
    }
    Record(event);
    if (result != nullptr) {
      VariantInit(result);
      if (!is_method) {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(Control(name).c_str());
      }
    }
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

class Factory final : public IClassFactory {
 public:
  Factory() { InterlockedIncrement(&g_objects); }
  ~Factory() { InterlockedDecrement(&g_objects); }

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
    const std::wstring fail = Control(L"FailCreate");
    if (!fail.empty()) {
      Record(L"create failed");
      const HRESULT hr = static_cast<HRESULT>(wcstoul(fail.c_str(), nullptr, 16));
      return FAILED(hr) ? hr : E_FAIL;
    }
    bool found = false;
    const std::wstring show_login =
        ReadUserString(L"Software\\Tovrin", L"ShowLoginWhenOpenExcel", &found);
    SetControl(L"ShowLoginSeen", found ? show_login : L"(none)");
    Record(L"create");
    StandInExcel* object = new StandInExcel();
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&g_locks);
    } else {
      InterlockedDecrement(&g_locks);
    }
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

// Sets a string value (nullptr: the default value) of HKCR\<key_path>, creating the key.
bool SetClassString(const std::wstring& key_path, const wchar_t* value_name,
                    const std::wstring& text) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key_path.c_str(), value_name, REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

const std::wstring kClassKey = std::wstring(L"CLSID\\") + kExcelStandInClsid;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, OwnClsid())) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* factory = new Factory();
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  const std::wstring name = L"Quillon test stand-in for Excel";
  const bool ok =
      SetClassString(kClassKey, nullptr, name) &&
      SetClassString(kClassKey + L"\\InprocServer32", nullptr, path) &&
      SetClassString(kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
      SetClassString(kClassKey + L"\\ProgID", nullptr, kExcelStandInProgId) &&
      SetClassString(kExcelStandInProgId, nullptr, name) &&
      SetClassString(std::wstring(kExcelStandInProgId) + L"\\CLSID", nullptr, kExcelStandInClsid);
  return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  const LONG a = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey.c_str());
  const LONG b = RegDeleteTreeW(HKEY_CLASSES_ROOT, kExcelStandInProgId);
  // A registration that is already gone is not a failure.
  const bool ok = (a == ERROR_SUCCESS || a == ERROR_FILE_NOT_FOUND) &&
                  (b == ERROR_SUCCESS || b == ERROR_FILE_NOT_FOUND);
  return ok ? S_OK : SELFREG_E_CLASS;
}
