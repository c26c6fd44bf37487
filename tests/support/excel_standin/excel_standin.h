#pragma once
// The test stand-in for Excel's automation server, excel_standin.dll: an in-process IDispatch
// class that `regsvr32` registers under the machine classes as "Excel.Application". Tests
// script it, and read what happened to it, through string values under
// HKEY_CURRENT_USER\<kExcelStandInKey>, read and written at each call:
//
//   Version, ProductCode  what the properties of those names answer (empty when missing)
//   FailCreate            an HRESULT in hex ("0x80080005"): the class factory's CreateInstance
//                         returns it instead of an object
//   FailMember            "Version", "ProductCode" or "Quit": that member's Invoke fails with
//                         DISP_E_EXCEPTION, the exception described by FailDescription (no
//                         description when it is empty, scode E_FAIL either way)
//   Log                   written by the server: one entry and ";" per event, in order:
//                         "create", "create failed", "get NAME", "get NAME failed",
//                         "call Quit", "call Quit failed", "unknown NAME", "release" (the last
//                         reference to an instance went)
//   ShowLoginSeen         the client setting ShowLoginWhenOpenExcel (HKCU\Software\Tovrin) as
//                         it stood when the last instance was created, which is when the
//                         client in a real Excel reads it; "(none)" when it was missing
//
// Its class may carry a LocalServer32 command too: the tests write it themselves after the
// registration; unregistering removes the whole class key.

inline constexpr wchar_t kExcelStandInClsid[] = L"{D5377618-F1E2-4B11-B1BF-2E6B16F4BC27}";
inline constexpr wchar_t kExcelStandInProgId[] = L"Excel.Application";
inline constexpr wchar_t kExcelStandInKey[] = L"Software\\QuillonTest\\Excel";
