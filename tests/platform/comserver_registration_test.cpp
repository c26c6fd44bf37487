// The demo payload's COM servers register themselves for real: the system's regsvr32, started
// the way the install procedure starts it (system folder + "RegSvr32.exe", " /s " and the
// quoted path), leaves the class under the machine classes, where COM resolves it, and the
// class can be created; "/u" removes it again.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "demo_comservers.h"
#include "platform/win32/windows_api.h"
#include "regsvr32.h"
// After windows.h:
#include <objbase.h>

namespace {

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (const char* p = text; *p != '\0'; ++p) wide += static_cast<wchar_t>(*p);
  return wide;
}

// A host path of the build as Wine sees it: the root of the host file system is drive Z:.
std::wstring HostPathForWine(const char* host_path) {
  std::wstring path = L"Z:" + Widen(host_path);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

using quillon::RunRegSvr32;

// The string value `name` (empty: the default value) of a key, or nothing when the key or the
// value is missing.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                       const std::wstring& name = std::wstring()) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t buffer[1024] = {};
  DWORD bytes = sizeof buffer - sizeof(wchar_t);
  DWORD type = 0;
  const LONG rc = ::RegQueryValueExW(key, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &bytes);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::wstring(buffer);
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

class ComServerRegistration : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    // A folder with a blank in its name: the command must quote the path.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"Quillon servers " + std::to_wstring(::GetTickCount());
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override { ::CoUninitialize(); }

  std::wstring folder_;
};

TEST_F(ComServerRegistration, RegSvr32RegistersEachServerUnderMachineClassesAndRemovesIt) {
  for (const DemoComServer& server : kDemoComServers) {
    SCOPED_TRACE(server.file_name);
    const std::wstring path = folder_ + L"\\" + Widen(server.file_name);
    ASSERT_TRUE(::CopyFileW(HostPathForWine(server.built_path).c_str(), path.c_str(), FALSE))
        << "cannot copy the built server, error " << ::GetLastError();
    const std::wstring clsid = Widen(server.clsid);
    const std::wstring progid = Widen(server.progid);
    const std::wstring class_key = L"CLSID\\" + clsid;
    ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, class_key)) << "registered before regsvr32 ran";

    EXPECT_EQ(RunRegSvr32(L"/s", path), 0u);

    const std::optional<std::wstring> server_path =
        ReadString(HKEY_CLASSES_ROOT, class_key + L"\\InprocServer32");
    ASSERT_TRUE(server_path.has_value()) << "no InprocServer32 after regsvr32 /s";
    EXPECT_EQ(::CompareStringOrdinal(server_path->c_str(), -1, path.c_str(), -1, TRUE), CSTR_EQUAL)
        << "InprocServer32 names another file";
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, class_key + L"\\InprocServer32", L"ThreadingModel"),
              L"Apartment");
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, class_key + L"\\ProgID"), progid);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, progid + L"\\CLSID"), clsid);
    // Machine classes, not per-user ones: the only place COM resolves classes under Wine.
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + class_key));

    // COM finds the class through the ProgID and the server answers as that class.
    CLSID expected{};
    ASSERT_EQ(::CLSIDFromString(clsid.c_str(), &expected), S_OK);
    CLSID resolved{};
    EXPECT_EQ(::CLSIDFromProgID(progid.c_str(), &resolved), S_OK);
    EXPECT_TRUE(::IsEqualCLSID(resolved, expected));
    IPersist* object = nullptr;
    ASSERT_EQ(::CoCreateInstance(expected, nullptr, CLSCTX_INPROC_SERVER, IID_IPersist,
                                 reinterpret_cast<void**>(&object)),
              S_OK);
    CLSID answered{};
    EXPECT_EQ(object->GetClassID(&answered), S_OK);
    EXPECT_TRUE(::IsEqualCLSID(answered, expected));
    object->Release();
    ::CoFreeUnusedLibraries();

    EXPECT_EQ(RunRegSvr32(L"/u /s", path), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, class_key));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, progid));
  }
}

}  // namespace
