#pragma once
// The functions of COM (ole32, oleaut32) and the shell (shell32) the adapters call, each
// looked up in its DLL at its first call rather than imported: the installer's first window
// needs none of them, and under Wine loading those DLLs at the start costs the first window
// several milliseconds. The DLLs come from the system folder only. The same signatures as the system's; where a DLL or function cannot be had, a call
// fails as the system's would (an error HRESULT, FALSE, zero or a null pointer) and changes
// nothing. scripts/check-imports keeps the installer from importing these DLLs again.

#include "platform/win32/windows_api.h"
// After <windows.h>:
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

namespace quillon::late {

// The system DLL `name` (say L"ole32.dll"), loaded by its full path in the system folder, so
// that no folder of the search path (the installer's own, a downloads folder) can supply it;
// nullptr when it cannot be loaded. It stays loaded until the process ends.
HMODULE LoadSystemLibrary(const wchar_t* name);

HRESULT CoInitializeEx(LPVOID reserved, DWORD model);
void CoUninitialize();
HRESULT CLSIDFromProgID(LPCOLESTR progid, LPCLSID clsid);
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out);
void CoTaskMemFree(LPVOID memory);
int StringFromGUID2(REFGUID guid, LPOLESTR text, int size);

BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANTARG* value);
HRESULT VariantClear(VARIANTARG* value);
HRESULT VariantCopy(VARIANTARG* to, VARIANTARG* from);
HRESULT VariantChangeType(VARIANTARG* to, VARIANTARG* from, USHORT flags, VARTYPE type);

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
int SHFileOperationW(LPSHFILEOPSTRUCTW operation);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list);
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT show);

}  // namespace quillon::late
