#pragma once
// The test stand-in for the COM+ administration catalogue, complus_standin.dll: an in-process
// IDispatch class that `regsvr32` registers under the machine classes as
// "COMAdmin.COMAdminCatalog", with the members a late-bound client of the catalogue uses:
//
//   catalogue   GetCollection(name)  only "Applications"
//               InstallComponent(application, dll, type library, proxy/stub dll)
//               ShutdownApplication(application)  the application by name or key
//   collection  Populate  Count  Item(index)  Add  Remove(index)  SaveChanges
//               GetCollection("Components", key of an application)  (of "Applications")
//   object      Name  Key  Value(property) = value  (VT_BSTR, a number or VT_BOOL)
//
// Its applications and their components live in a file beside the DLL (catalogue_file.h), so
// they outlast the processes that change them; every call reads the file afresh. A populated
// collection is a working copy: SaveChanges writes its added, removed and changed objects to
// the file. Add gives a new application its key and the catalogue's defaults ("Name" "New
// Application", "Identity" "Interactive User"). InstallComponent needs the DLL file and a list
// of the components it holds beside it, "<dll>.components" with one ProgID per line; each
// becomes a component of the first application of that name with its own key, "Name" the
// ProgID and "DLL" the path as given. Unknown applications, keys and indexes are refused with
// a description, as the catalogue refuses them.
//
// Tests script it, and read what happened, through string values under
// HKEY_CURRENT_USER\<kComPlusStandInKey>, read and written at each call:
//
//   Fail             an operation to refuse, by its name in the log ("InstallComponent",
//                    "SaveChanges", "create") or by name and qualifier ("Value:Identity",
//                    "SaveChanges:Components", "Populate:Applications"); the qualifier is the
//                    property, the collection or the application the operation is about. The
//                    call fails with DISP_E_EXCEPTION, the exception described by
//                    FailDescription (none when empty) with the code FailCode; "create" makes
//                    the class factory return FailCode instead of an object
//   FailCode         an HRESULT in hex ("0x80110401"); E_FAIL when empty
//   Log              written by the server: one entry and ";" per event, in order: "create",
//                    "GetCollection NAME", "Populate NAME", "Add NAME", "Remove NAME INDEX",
//                    "SaveChanges NAME", "Value PROPERTY", "InstallComponent APP|DLL|TLB|PSDLL",
//                    "ShutdownApplication APP", each with " failed" when it was refused;
//                    "unknown NAME" for a member it does not have; "release" when the last of
//                    its objects (catalogue, collections, objects) went

inline constexpr wchar_t kComPlusStandInClsid[] = L"{53625378-58D0-4A76-A14C-39C311800500}";
inline constexpr wchar_t kComPlusStandInProgId[] = L"COMAdmin.COMAdminCatalog";
inline constexpr wchar_t kComPlusStandInKey[] = L"Software\\QuillonTest\\ComPlus";
// The store's file name, in the folder of the registered DLL.
inline constexpr wchar_t kComPlusStandInStore[] = L"complus_catalogue.txt";
