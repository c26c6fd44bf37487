#include "platform/win32/win32_automation.h"

#include <utility>
#include <vector>

#include "platform/win32/win32_com_apartment.h"
#include "platform/win32/win32_dispatch.h"
#include "platform/win32/win32_late_imports.h"

namespace quillon {

namespace {

[[noreturn]] void Fail(const std::wstring& member, const std::wstring& text) {
  throw AutomationError(L"\"" + member + L"\": " + text);
}

class Win32Object : public AutomationObject {
 public:
  explicit Win32Object(DispatchRef dispatch) : dispatch_(std::move(dispatch)) {}

  std::wstring GetText(const std::wstring& property) override {
    return dispatch_.GetText(property);
  }
  void Call(const std::wstring& method) override { dispatch_.Call(method); }

 private:
  DispatchRef dispatch_;
};

bool ClassOf(const std::wstring& progid, CLSID* clsid) {
  EnterComApartment();
  return SUCCEEDED(late::CLSIDFromProgID(progid.c_str(), clsid)) &&
         !IsEqualCLSID(*clsid, CLSID_NULL);
}

}  // namespace

bool Win32Automation::IsRegistered(const std::wstring& progid) {
  CLSID clsid;
  return ClassOf(progid, &clsid);
}

std::unique_ptr<AutomationObject> Win32Automation::Create(const std::wstring& progid) {
  return std::make_unique<Win32Object>(DispatchRef::Create(progid, Fail));
}

std::wstring Win32Automation::LocalServerCommand(const std::wstring& progid) {
  CLSID clsid;
  if (!ClassOf(progid, &clsid)) return {};
  wchar_t text[64];
  if (late::StringFromGUID2(clsid, text, 64) == 0) return {};
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
