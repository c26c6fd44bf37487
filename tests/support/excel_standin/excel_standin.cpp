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
#include "inproc_server/inproc_server.h"

namespace {

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
  StandInExcel() { InterlockedIncrement(&inproc_server::objects); }
  ~StandInExcel() { InterlockedDecrement(&inproc_server::objects); }

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

HRESULT CreateExcel(REFIID riid, void** out) {
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

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  inproc_server::Attach(instance, reason);
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  return inproc_server::GetClassObject(clsid, kExcelStandInClsid, CreateExcel, riid, out);
}

STDAPI DllCanUnloadNow() {
  return inproc_server::CanUnloadNow();
}

STDAPI DllRegisterServer() {
  return inproc_server::Register(kExcelStandInClsid, kExcelStandInProgId,
                                 L"Quillon test stand-in for Excel");
}

STDAPI DllUnregisterServer() {
  return inproc_server::Unregister(kExcelStandInClsid, kExcelStandInProgId);
}
