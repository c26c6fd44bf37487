#include "platform/win32/win32_automation.h"

#include <vector>

#include "base/text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"
// After windows.h:
#include <objbase.h>
#include <oleauto.h>

namespace quillon {

namespace {

// The automation layer's text for a failed call: the server's own description when it gave
// one, else the system's message for the result code.
[[noreturn]] void Fail(const std::wstring& what, HRESULT hr, const EXCEPINFO* info = nullptr) {
  std::wstring text;
  if (info && info->bstrDescription && *info->bstrDescription) {
    text = info->bstrDescription;
  } else if (info && info->scode != 0) {
    text = SystemErrorText(static_cast<unsigned long>(info->scode));
  } else {
    text = SystemErrorText(static_cast<unsigned long>(hr));
  }
  throw AutomationError(what + L": " + text);
}

class ExcepInfo {
 public:
  ExcepInfo() { ZeroMemory(&info_, sizeof(info_)); }
  ~ExcepInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }
  EXCEPINFO* get() { return &info_; }

 private:
  EXCEPINFO info_;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  VARIANT* get() { return &v_; }

 private:
  VARIANT v_;
};

class Win32Object : public AutomationObject {
 public:
  explicit Win32Object(IDispatch* dispatch) : dispatch_(dispatch) {}
  ~Win32Object() override { dispatch_->Release(); }

  std::wstring GetText(const std::wstring& property) override {
    Variant result;
    Invoke(property, DISPATCH_PROPERTYGET, result.get());
    if (V_VT(result.get()) == VT_BSTR) return Text(V_BSTR(result.get()));
    Variant text;
    const HRESULT hr = VariantChangeType(text.get(), result.get(), 0, VT_BSTR);
    if (FAILED(hr)) Fail(L"Reading \"" + property + L"\"", hr);
    return Text(V_BSTR(text.get()));
  }

  void Call(const std::wstring& method) override {
    Variant result;
    Invoke(method, DISPATCH_METHOD, result.get());
  }

 private:
  static std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

  void Invoke(const std::wstring& name, WORD flags, VARIANT* result) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) Fail(L"\"" + name + L"\"", hr);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ExcepInfo info;
    UINT bad_arg = 0;
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, result, info.get(),
                           &bad_arg);
    if (FAILED(hr)) Fail(L"\"" + name + L"\"", hr, hr == DISP_E_EXCEPTION ? info.get() : nullptr);
  }

  IDispatch* dispatch_;
};

bool ClassOf(const std::wstring& progid, CLSID* clsid) {
  return SUCCEEDED(CLSIDFromProgID(progid.c_str(), clsid)) && !IsEqualCLSID(*clsid, CLSID_NULL);
}

}  // namespace

bool Win32Automation::IsRegistered(const std::wstring& progid) {
  CLSID clsid;
  return ClassOf(progid, &clsid);
}

std::unique_ptr<AutomationObject> Win32Automation::Create(const std::wstring& progid) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progid.c_str(), &clsid);
  if (FAILED(hr)) Fail(L"\"" + progid + L"\"", hr);
  IDispatch* dispatch = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr) || !dispatch) Fail(L"\"" + progid + L"\"", FAILED(hr) ? hr : E_NOINTERFACE);
  return std::make_unique<Win32Object>(dispatch);
}

std::wstring Win32Automation::LocalServerCommand(const std::wstring& progid) {
  CLSID clsid;
  if (!ClassOf(progid, &clsid)) return {};
  wchar_t text[64];
  if (StringFromGUID2(clsid, text, 64) == 0) return {};
  // The classes view of this process: the one COM itself starts servers from.
  const std::wstring path = std::wstring(L"CLSID\\") + text + L"\\LocalServer32";
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD type = 0, size = 0;
  std::wstring command;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) ==
        ERROR_SUCCESS) {
      command.assign(buf.data());
      if (type == REG_EXPAND_SZ) {
        std::vector<wchar_t> expanded(32768);
        if (ExpandEnvironmentStringsW(command.c_str(), expanded.data(),
                                      static_cast<DWORD>(expanded.size())) != 0) {
          command.assign(expanded.data());
        }
      }
    }
  }
  RegCloseKey(key);
  return command;
}

}  // namespace quillon
