// The COM+ operations over the Win32 catalogue adapter, against the test stand-in for the
// administration catalogue that regsvr32 registers in this prefix (see
// support/complus_standin/complus_standin.h): the install's sequence from an earlier install,
// what the catalogue holds afterwards, the identity with and without an account, and the
// catalogue's refusals reaching the caller as CatalogueError with the catalogue's own text.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/win32/win32_admin_catalogue.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"
#include "regsvr32.h"
#include "scratch_folder.h"
#include "server/unCOMPlusAdmin.h"
#include "support/complus_standin/catalogue_file.h"
#include "support/complus_standin/complus_standin.h"

namespace quillon {
namespace {

const std::wstring kApp = L"VXKALDERServer";
const std::wstring kAppProps =
    L"Description=\"VXKALDER服务程序\" RunForever=true AccessChecksLevel=0 Authentication=1 "
    L"ImpersonationLevel=1 ApplicationAccessChecksEnabled=false QCAuthenticateMsgs=1";
const std::wstring kComponentProps =
    L"Transaction=1 Description=\"%\" EventTrackingEnabled=false ObjectPoolingEnabled=true "
    L"MinPoolSize=0 JustInTimeActivation=true";

// The properties a known component gets, with its description.
std::wstring KnownComponent(const std::wstring& description) {
  std::wstring props = kComponentProps;
  props.replace(props.find(L'%'), 1, description);
  return props;
}

// The stand-in's copy in this prefix; its store is written beside it.
std::wstring StandInFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return std::wstring(temp) + L"quillon-complus";
}
std::wstring StandInPath() {
  return StandInFolder() + L"\\complus_standin.dll";
}
std::wstring StorePath() {
  return StandInFolder() + L"\\" + kComPlusStandInStore;
}

void SetControl(const std::wstring& name, const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kComPlusStandInKey, name.c_str(), REG_SZ,
                            text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// What the stand-in recorded so far, one event each.
std::vector<std::wstring> Log() {
  wchar_t buffer[32768] = {};
  DWORD bytes = sizeof buffer - sizeof(wchar_t);
  RegGetValueW(HKEY_CURRENT_USER, kComPlusStandInKey, L"Log", RRF_RT_REG_SZ, nullptr, buffer,
               &bytes);
  std::vector<std::wstring> events;
  std::wstring event;
  for (const wchar_t* p = buffer; *p; ++p) {
    if (*p == L';') {
      events.push_back(event);
      event.clear();
    } else {
      event += *p;
    }
  }
  return events;
}

// Each "create" is followed by a "release" before the next one: every operation had a
// catalogue of its own and let go of all it was given.
void ExpectEachCatalogueReleased(const std::vector<std::wstring>& log, int catalogues) {
  int created = 0;
  bool open = false;
  for (const std::wstring& event : log) {
    if (event == L"create") {
      EXPECT_FALSE(open) << "a catalogue was created while another one was held";
      open = true;
      ++created;
    } else if (event == L"release") {
      EXPECT_TRUE(open);
      open = false;
    }
  }
  EXPECT_FALSE(open) << "the last catalogue was not released";
  EXPECT_EQ(created, catalogues);
}

// The system's message for a result code, as Windows words it.
std::wstring SystemText(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

complus_standin::Store ReadCatalogue() {
  complus_standin::Store store;
  std::wstring error;
  EXPECT_TRUE(complus_standin::ReadStore(StorePath(), &store, &error)) << ToUtf8(error);
  return store;
}

// An object's properties as the store writes them, without its key.
std::wstring Props(const complus_standin::Object& object) {
  const std::wstring line = complus_standin::FormatObject(L"", object);
  return line.substr(line.find(L' ', 1) + 1);
}

// A component DLL to install: the file and the list of components it holds.
std::wstring ComponentDll(const ScratchFolder& folder, const std::wstring& name,
                          const std::vector<std::wstring>& progids) {
  const std::wstring path = folder.At(name);
  std::ofstream(std::filesystem::path(path), std::ios::binary) << "MZ component server";
  std::ofstream list(std::filesystem::path(path + L".components"), std::ios::binary);
  for (const std::wstring& progid : progids) list << ToUtf8(progid) << "\r\n";
  return path;
}

class ComPlusOverWin32 : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(kComPlusStandInProgId, &clsid))) {
      std::filesystem::create_directories(std::filesystem::path(StandInFolder()));
      std::wstring built = L"Z:";
      for (const char* p = QUILLON_COMPLUS_STANDIN; *p != '\0'; ++p) {
        built += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
      }
      ASSERT_TRUE(CopyFileW(built.c_str(), StandInPath().c_str(), FALSE)) << GetLastError();
      ASSERT_EQ(RunRegSvr32(L"/s", StandInPath()), 0u);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kComPlusStandInKey);
    DeleteFileW(StorePath().c_str());
    dll1_ =
        ComponentDll(folder_, L"DivoZaze.dll",
                     {L"DivoZaze.MainSvc", L"Foreign.Thing", L"DivoZaze.MainSvc_NoTransaction"});
    dll2_ = ComponentDll(folder_, L"DivoZazeM.dll",
                         {L"DivoZazeM.MainSvcM", L"DivoZazeM.MainSvc_NoTransactionM"});
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kComPlusStandInKey);
    CoUninitialize();
  }

  // The install's calls: the application rebuilt once, then each flagged file.
  void Install(const std::vector<std::wstring>& dlls, const std::wstring& user,
               const std::wstring& password) {
    admin_.ShutdownComPlusApp(kApp);
    admin_.RemoveComPlusApp(kApp);
    admin_.CreateComPlusApp(kApp, user, password);
    admin_.SetComPlusAppProps(kApp);
    for (const std::wstring& dll : dlls) {
      admin_.InstallComPlusComponents(kApp, dll);
      admin_.SetComPlusComponentProps(kApp);
      admin_.ShutdownComPlusApp(kApp);
    }
  }

  ScratchFolder folder_;
  std::wstring dll1_, dll2_;
  Win32CatalogueService service_;
  ComPlusAdmin admin_{service_};
};

TEST_F(ComPlusOverWin32, TheInstallRebuildsTheApplicationWithItsPropertiesAndComponents) {
  // An earlier install's application with its component, and another application.
  complus_standin::Store earlier;
  earlier.applications.resize(2);
  earlier.applications[0].key = L"{11111111-2222-3333-4444-555555555555}";
  earlier.applications[0].Set(L"Name", kApp);
  earlier.applications[0].components.resize(1);
  earlier.applications[0].components[0].key = L"{66666666-2222-3333-4444-555555555555}";
  earlier.applications[0].components[0].Set(L"Name", std::wstring(L"DivoZaze.MainSvc"));
  earlier.applications[1].key = L"{77777777-2222-3333-4444-555555555555}";
  earlier.applications[1].Set(L"Name", std::wstring(L"Other Application"));
  earlier.applications[1].Set(L"RunForever", false);
  ASSERT_TRUE(complus_standin::WriteStore(StorePath(), earlier));

  Install({dll1_, dll2_}, L"QUILLON\\svc", L"pa\"ss 密码");

  const complus_standin::Store store = ReadCatalogue();
  ASSERT_EQ(store.applications.size(), 2u);
  EXPECT_EQ(complus_standin::FormatObject(L"application", store.applications[0]),
            complus_standin::FormatObject(L"application", earlier.applications[1]))
      << "another application is left as it was";
  const complus_standin::Object& app = store.applications[1];
  EXPECT_NE(app.key, earlier.applications[0].key) << "the earlier application was removed";
  EXPECT_EQ(Props(app),
            L"Name=\"VXKALDERServer\" Identity=\"QUILLON\\svc\" "
            L"Password=\"pa\"\"ss 密码\" " +
                kAppProps);
  struct Expected {
    const wchar_t* progid;
    std::wstring dll;
    std::wstring props;  // after Name and DLL
  };
  const Expected components[] = {
      {L"DivoZaze.MainSvc", dll1_, KnownComponent(L"VXKALDER服务组件")},
      {L"Foreign.Thing", dll1_, L""},
      {L"DivoZaze.MainSvc_NoTransaction", dll1_, KnownComponent(L"VXKALDER服务组件")},
      {L"DivoZazeM.MainSvcM", dll2_, KnownComponent(L"VXKALDERM服务组件")},
      {L"DivoZazeM.MainSvc_NoTransactionM", dll2_, KnownComponent(L"VXKALDERM服务组件")},
  };
  ASSERT_EQ(app.components.size(), std::size(components));
  for (size_t i = 0; i < app.components.size(); ++i) {
    const Expected& e = components[i];
    std::wstring want = L"Name=\"" + std::wstring(e.progid) + L"\" DLL=\"" + e.dll + L"\"";
    if (!e.props.empty()) want += L" " + e.props;
    EXPECT_EQ(Props(app.components[i]), want);
  }

  const std::vector<std::wstring> log = Log();
  // Shut-down, removal with its own shut-down, creation, properties; then for each file its
  // components, their properties and a shut-down.
  ExpectEachCatalogueReleased(log, 11);
  std::vector<std::wstring> installs;
  for (const std::wstring& event : log) {
    if (event.rfind(L"InstallComponent ", 0) == 0) installs.push_back(event);
  }
  EXPECT_EQ(installs,
            (std::vector<std::wstring>{L"InstallComponent " + kApp + L"|" + dll1_ + L"||",
                                       L"InstallComponent " + kApp + L"|" + dll2_ + L"||"}));
}

TEST_F(ComPlusOverWin32, TheIdentityIsSetOnlyWithBothAccountAndPassword) {
  struct Case {
    const wchar_t* user;
    const wchar_t* password;
    const wchar_t* props;
  };
  const Case cases[] = {
      {L"svc", L"pw", L"Name=\"VXKALDERServer\" Identity=\"svc\" Password=\"pw\""},
      // The catalogue's default identity stays.
      {L"svc", L"", L"Name=\"VXKALDERServer\" Identity=\"Interactive User\""},
      {L"", L"pw", L"Name=\"VXKALDERServer\" Identity=\"Interactive User\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(std::wstring(c.user) + L"/" + c.password));
    DeleteFileW(StorePath().c_str());
    admin_.CreateComPlusApp(kApp, c.user, c.password);
    const complus_standin::Store store = ReadCatalogue();
    ASSERT_EQ(store.applications.size(), 1u);
    EXPECT_EQ(Props(store.applications[0]), c.props);
  }
}

TEST_F(ComPlusOverWin32, RefusalsRaiseCatalogueErrorsWithTheCataloguesText) {
  struct Case {
    const wchar_t* fail;
    const wchar_t* description;
    const wchar_t* code;
    std::wstring expected;     // the error's whole message
    const wchar_t* catalogue;  // the applications' names and their components' count after it
  };
  const Case cases[] = {
      {L"Value:Identity", L"Das Konto svc ist unbekannt", L"", L"Das Konto svc ist unbekannt", L""},
      {L"Value:Authentication", L"认证级别被拒绝", L"", L"认证级别被拒绝", L"VXKALDERServer 0"},
      {L"InstallComponent", L"The component is in use by another application", L"",
       L"The component is in use by another application", L"VXKALDERServer 0"},
      // No description: the system's message for the exception's code.
      {L"SaveChanges:Components", L"", L"0x80070005", SystemText(E_ACCESSDENIED),
       L"VXKALDERServer 3"},
      {L"Populate:Applications", L"", L"", SystemText(E_FAIL), L""},
      // The class factory refuses: the system's message for its result.
      {L"create", L"", L"0x80070005", SystemText(E_ACCESSDENIED), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.fail));
    ASSERT_FALSE(c.expected.empty()) << "the system has no text for the code";
    RegDeleteTreeW(HKEY_CURRENT_USER, kComPlusStandInKey);
    DeleteFileW(StorePath().c_str());
    SetControl(L"Fail", c.fail);
    SetControl(L"FailDescription", c.description);
    SetControl(L"FailCode", c.code);
    try {
      Install({dll1_}, L"svc", L"pw");
      ADD_FAILURE() << "nothing failed";
    } catch (const CatalogueError& e) {
      EXPECT_EQ(e.message(), c.expected) << ToUtf8(e.message());
    }
    std::wstring catalogue;
    for (const auto& app : ReadCatalogue().applications) {
      catalogue += app.Name() + L" " + IntToText(static_cast<long long>(app.components.size()));
    }
    EXPECT_EQ(catalogue, c.catalogue) << "what was saved before the refusal stays";
    const std::vector<std::wstring> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), std::wstring(c.fail) == L"create" ? L"create failed" : L"release")
        << "the refused operation let go of the catalogue";
  }

  // A refused queued-components property is passed over; the other properties are saved.
  RegDeleteTreeW(HKEY_CURRENT_USER, kComPlusStandInKey);
  DeleteFileW(StorePath().c_str());
  SetControl(L"Fail", L"Value:QCAuthenticateMsgs");
  EXPECT_NO_THROW(Install({}, L"", L""));
  const complus_standin::Store store = ReadCatalogue();
  ASSERT_EQ(store.applications.size(), 1u);
  std::wstring without_qc = kAppProps;
  without_qc.resize(without_qc.rfind(L' '));
  EXPECT_EQ(Props(store.applications[0]),
            L"Name=\"VXKALDERServer\" Identity=\"Interactive User\" " + without_qc);
}

TEST_F(ComPlusOverWin32, TheAdapterReportsTheCataloguesOwnRefusalsAndAMissingCatalogue) {
  {
    std::unique_ptr<Catalogue> catalogue = service_.Open();
    std::unique_ptr<CatalogueCollection> apps = catalogue->GetCollection(L"Applications");
    apps->Populate();
    EXPECT_EQ(apps->Count(), 0);
    try {
      apps->Item(0);
      ADD_FAILURE() << "an index past the end was accepted";
    } catch (const CatalogueError& e) {
      EXPECT_EQ(e.message(), L"The index 0 is out of range.");
    }
    try {
      catalogue->InstallComponent(kApp, folder_.At(L"missing.dll"), L"", L"");
      ADD_FAILURE() << "a missing application was accepted";
    } catch (const CatalogueError& e) {
      EXPECT_EQ(e.message(), L"The catalogue holds no application \"VXKALDERServer\".");
    }
  }
  // Without the catalogue's class.
  ASSERT_EQ(RunRegSvr32(L"/u /s", StandInPath()), 0u);
  try {
    service_.Open();
    ADD_FAILURE() << "a catalogue was opened without its class";
  } catch (const CatalogueError& e) {
    EXPECT_EQ(e.message(), SystemErrorText(static_cast<unsigned long>(CO_E_CLASSSTRING)));
  }
  ASSERT_EQ(RunRegSvr32(L"/s", StandInPath()), 0u);
}

}  // namespace
}  // namespace quillon
