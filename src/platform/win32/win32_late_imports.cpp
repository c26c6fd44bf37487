#include "platform/win32/win32_late_imports.h"

#include <string>

namespace quillon::late {

namespace {

// The function `name` of `dll` as a pointer of the system declaration's type, or nullptr.
template <class Function>
Function Find(const wchar_t* dll, const char* name) {
  HMODULE module = LoadSystemLibrary(dll);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Declares `fn`, the looked-up function NAME of DLL, found once (the lookup is thread-safe).
#define QUILLON_LATE(dll, name) static const auto fn = Find<decltype(&::name)>(dll, #name)

const wchar_t kOle32[] = L"ole32.dll";
const wchar_t kOleAut32[] = L"oleaut32.dll";
const wchar_t kShell32[] = L"shell32.dll";

HRESULT Unavailable() {
  return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\" + name;
  return LoadLibraryW(path.c_str());
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD model) {
  QUILLON_LATE(kOle32, CoInitializeEx);
  return fn ? fn(reserved, model) : Unavailable();
}

void CoUninitialize() {
  QUILLON_LATE(kOle32, CoUninitialize);
  if (fn) fn();
}

HRESULT CLSIDFromProgID(LPCOLESTR progid, LPCLSID clsid) {
  QUILLON_LATE(kOle32, CLSIDFromProgID);
  return fn ? fn(progid, clsid) : Unavailable();
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
  QUILLON_LATE(kOle32, CoCreateInstance);
  if (out) *out = nullptr;
  return fn ? fn(clsid, outer, context, iid, out) : Unavailable();
}

void CoTaskMemFree(LPVOID memory) {
  QUILLON_LATE(kOle32, CoTaskMemFree);
  if (fn) fn(memory);
}

int StringFromGUID2(REFGUID guid, LPOLESTR text, int size) {
  QUILLON_LATE(kOle32, StringFromGUID2);
  return fn ? fn(guid, text, size) : 0;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  QUILLON_LATE(kOleAut32, SysAllocStringLen);
  return fn ? fn(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
  QUILLON_LATE(kOleAut32, SysFreeString);
  if (fn) fn(text);
}

UINT SysStringLen(BSTR text) {
  QUILLON_LATE(kOleAut32, SysStringLen);
  return fn ? fn(text) : 0;
}

void VariantInit(VARIANTARG* value) {
  QUILLON_LATE(kOleAut32, VariantInit);
  if (fn) {
    fn(value);
  } else {
    V_VT(value) = VT_EMPTY;
  }
}

HRESULT VariantClear(VARIANTARG* value) {
  QUILLON_LATE(kOleAut32, VariantClear);
  return fn ? fn(value) : Unavailable();
}

HRESULT VariantCopy(VARIANTARG* to, VARIANTARG* from) {
  QUILLON_LATE(kOleAut32, VariantCopy);
  return fn ? fn(to, from) : Unavailable();
}

HRESULT VariantChangeType(VARIANTARG* to, VARIANTARG* from, USHORT flags, VARTYPE type) {
  QUILLON_LATE(kOleAut32, VariantChangeType);
  return fn ? fn(to, from, flags, type) : Unavailable();
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
  QUILLON_LATE(kShell32, SHBrowseForFolderW);
  return fn ? fn(info) : nullptr;
}

int SHFileOperationW(LPSHFILEOPSTRUCTW operation) {
  QUILLON_LATE(kShell32, SHFileOperationW);
  return fn ? fn(operation) : ERROR_PROC_NOT_FOUND;
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  QUILLON_LATE(kShell32, SHGetPathFromIDListW);
  return fn ? fn(list, path) : FALSE;
}

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list) {
  QUILLON_LATE(kShell32, SHGetSpecialFolderLocation);
  if (list) *list = nullptr;
  return fn ? fn(owner, folder, list) : Unavailable();
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  QUILLON_LATE(kShell32, ShellExecuteExW);
  if (!fn) SetLastError(ERROR_PROC_NOT_FOUND);
  return fn ? fn(info) : FALSE;
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT show) {
  QUILLON_LATE(kShell32, ShellExecuteW);
  // Values up to 32 are error codes; SE_ERR_DLLNOTFOUND says what went wrong.
  return fn ? fn(owner, verb, file, parameters, directory, show)
            : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

#undef QUILLON_LATE

}  // namespace quillon::late
