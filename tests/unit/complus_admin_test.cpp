// The six COM+ operations on the in-memory catalogue: the install's sequence from an empty
// or an earlier catalogue, what is saved where, and what a refusal leaves unsaved.
#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/fake/fake_admin_catalogue.h"
#include "server/unCOMPlusAdmin.h"

namespace quillon {
namespace {

const std::wstring kApp = L"VXKALDERServer";
const std::wstring kDll1 = L"C:\\Q\\CLIENT\\nextgen.xdll";
const std::wstring kDll2 = L"C:\\Q\\CLIENT\\second.dll";

class ComPlus : public ::testing::Test {
 protected:
  ComPlus() {
    catalogue.dll_components[kDll1] = {L"DivoZaze.MainSvc", L"DivoZaze.MainSvc_NoTransaction",
                                       L"Foreign.Thing"};
    catalogue.dll_components[kDll2] = {L"DivoZazeM.MainSvcM", L"DivoZazeM.MainSvc_NoTransactionM"};
  }
  // The install's calls: the application rebuilt once, then each flagged file.
  void Install(const std::vector<std::wstring>& dlls, const std::wstring& user = L"",
               const std::wstring& password = L"") {
    admin.ShutdownComPlusApp(kApp);
    admin.RemoveComPlusApp(kApp);
    admin.CreateComPlusApp(kApp, user, password);
    admin.SetComPlusAppProps(kApp);
    for (const auto& dll : dlls) {
      admin.InstallComPlusComponents(kApp, dll);
      admin.SetComPlusComponentProps(kApp);
      admin.ShutdownComPlusApp(kApp);
    }
  }
  static const CatalogueValue* Value(const FakeCatalogueService::Item& item, const wchar_t* name) {
    auto it = item.values.find(name);
    return it == item.values.end() ? nullptr : &it->second;
  }
  static const FakeCatalogueService::Item* Component(const FakeCatalogueService::Item& app,
                                                     const std::wstring& progid) {
    for (const auto& c : app.components) {
      if (c.Name() == progid) return &c;
    }
    return nullptr;
  }
  int Count(const std::wstring& op) {
    int n = 0;
    for (const auto& l : catalogue.log) n += l == op;
    return n;
  }

  FakeCatalogueService catalogue;
  ComPlusAdmin admin{catalogue};
};

TEST_F(ComPlus, AFreshCatalogueGetsTheApplicationWithItsPropertiesAndComponents) {
  Install({kDll1});
  const auto apps = catalogue.Named(kApp);
  ASSERT_EQ(apps.size(), 1u);
  const auto& app = *apps[0];
  EXPECT_EQ(*Value(app, L"Description"), CatalogueValue(std::wstring(L"VXKALDER服务程序")));
  EXPECT_EQ(*Value(app, L"RunForever"), CatalogueValue(true));
  EXPECT_EQ(*Value(app, L"AccessChecksLevel"), CatalogueValue(0L));
  EXPECT_EQ(*Value(app, L"Authentication"), CatalogueValue(1L));
  EXPECT_EQ(*Value(app, L"ImpersonationLevel"), CatalogueValue(1L));
  EXPECT_EQ(*Value(app, L"ApplicationAccessChecksEnabled"), CatalogueValue(false));
  EXPECT_EQ(*Value(app, L"QCAuthenticateMsgs"), CatalogueValue(1L));
  EXPECT_FALSE(Value(app, L"Identity")) << "no account given";

  const auto* main = Component(app, L"DivoZaze.MainSvc");
  ASSERT_TRUE(main);
  EXPECT_EQ(*Value(*main, L"Description"), CatalogueValue(std::wstring(L"VXKALDER服务组件")));
  EXPECT_EQ(*Value(*main, L"Transaction"), CatalogueValue(1L));
  EXPECT_EQ(*Value(*main, L"EventTrackingEnabled"), CatalogueValue(false));
  EXPECT_EQ(*Value(*main, L"ObjectPoolingEnabled"), CatalogueValue(true));
  EXPECT_EQ(*Value(*main, L"MinPoolSize"), CatalogueValue(0L));
  EXPECT_EQ(*Value(*main, L"JustInTimeActivation"), CatalogueValue(true));
  const auto* foreign = Component(app, L"Foreign.Thing");
  ASSERT_TRUE(foreign);
  EXPECT_EQ(foreign->values.size(), 1u) << "a foreign component keeps the defaults";
  // Nothing to shut down or remove yet.
  EXPECT_EQ(Count(L"ShutdownApplication " + kApp), 1) << "only after the components";
  EXPECT_EQ(Count(L"Remove Applications 0"), 0);
}

TEST_F(ComPlus, TheIdentityIsSetOnlyWithBothAccountAndPassword) {
  struct Case {
    const wchar_t *user, *password;
    bool identity;
  };
  for (const Case& c :
       {Case{L"svc", L"pw", true}, Case{L"svc", L"", false}, Case{L"", L"pw", false}}) {
    catalogue.applications.clear();
    Install({}, c.user, c.password);
    const auto& app = *catalogue.Named(kApp).at(0);
    EXPECT_EQ(Value(app, L"Identity") != nullptr, c.identity)
        << ToUtf8(c.user) << ToUtf8(c.password);
    EXPECT_EQ(Value(app, L"Password") != nullptr, c.identity);
    if (c.identity) {
      EXPECT_EQ(*Value(app, L"Identity"), CatalogueValue(std::wstring(L"svc")));
    }
  }
}

TEST_F(ComPlus, AReinstallStartsFromAnEmptyApplicationAndTwoFilesShareIt) {
  Install({kDll1});
  Install({kDll1, kDll2});
  const auto apps = catalogue.Named(kApp);
  ASSERT_EQ(apps.size(), 1u) << "the earlier application was removed";
  EXPECT_EQ(apps[0]->components.size(), 5u);
  for (const wchar_t* p : {L"DivoZazeM.MainSvcM", L"DivoZazeM.MainSvc_NoTransactionM"}) {
    const auto* c = Component(*apps[0], p);
    ASSERT_TRUE(c) << ToUtf8(p);
    EXPECT_EQ(*Value(*c, L"Description"), CatalogueValue(std::wstring(L"VXKALDERM服务组件")));
  }
}

TEST_F(ComPlus, NamesMatchExactlyAndOnlyTheFirstOfTwoIsRemoved) {
  catalogue.AddApplication(L"vxkalderserver");
  const std::wstring first = catalogue.AddApplication(kApp);
  const std::wstring second = catalogue.AddApplication(kApp);
  Install({kDll1});
  ASSERT_EQ(catalogue.applications.size(), 3u);
  EXPECT_EQ(catalogue.applications[0].Name(), L"vxkalderserver");
  EXPECT_TRUE(catalogue.applications[0].components.empty()) << "another application";
  EXPECT_EQ(catalogue.applications[1].key, second) << "the first of the two was removed";
  EXPECT_NE(catalogue.applications[2].key, first);
  // The install is asked once for every application of the name (the catalogue resolves the
  // name itself); the application properties go onto the first only.
  EXPECT_EQ(Count(L"InstallComponent " + kApp + L" " + kDll1), 2);
  EXPECT_TRUE(Value(catalogue.applications[1], L"RunForever"));
  EXPECT_FALSE(Value(catalogue.applications[2], L"RunForever"));
}

TEST_F(ComPlus, ARefusalEndsTheOperationUnsavedExceptForQueuedComponents) {
  // QCAuthenticateMsgs refused: the other properties are still saved.
  catalogue.fail_at = L"SetValue QCAuthenticateMsgs";
  EXPECT_NO_THROW(Install({}));
  EXPECT_TRUE(Value(*catalogue.Named(kApp).at(0), L"RunForever"));

  struct Case {
    const wchar_t* fail_at;
    bool app_exists;       // after the failed install
    bool app_props;        // the application properties saved before the failure
    bool components;       // installed before the failure
    bool component_props;  // saved before the failure
  };
  const Case cases[] = {
      {L"SetValue Identity", false, false, false, false},
      {L"SetValue Authentication", true, false, false, false},
      {L"InstallComponent VXKALDERServer C:\\Q\\CLIENT\\nextgen.xdll", true, true, false, false},
      {L"SetValue MinPoolSize", true, true, true, false},
      {L"SaveChanges Components", true, true, true, false},
  };
  for (const auto& c : cases) {
    catalogue.applications.clear();
    catalogue.fail_at = c.fail_at;
    try {
      Install({kDll1}, L"svc", L"pw");
      ADD_FAILURE() << "no error for " << ToUtf8(c.fail_at);
    } catch (const CatalogueError& e) {
      EXPECT_NE(e.message().find(c.fail_at), std::wstring::npos) << "the catalogue's text";
    }
    const auto apps = catalogue.Named(kApp);
    ASSERT_EQ(apps.size(), c.app_exists ? 1u : 0u) << ToUtf8(c.fail_at);
    if (!c.app_exists) continue;
    EXPECT_EQ(Value(*apps[0], L"RunForever") != nullptr, c.app_props) << ToUtf8(c.fail_at);
    EXPECT_EQ(!apps[0]->components.empty(), c.components) << ToUtf8(c.fail_at);
    if (c.components) {
      EXPECT_EQ(Value(*Component(*apps[0], L"DivoZaze.MainSvc"), L"Description") != nullptr,
                c.component_props);
    }
  }
}

TEST_F(ComPlus, EachOperationOpensTheCatalogueAfresh) {
  Install({kDll1});
  // Shutdown, remove (with its own shutdown), create, properties; then install, component
  // properties, shutdown.
  EXPECT_EQ(Count(L"Open"), 8);
}

}  // namespace
}  // namespace quillon
