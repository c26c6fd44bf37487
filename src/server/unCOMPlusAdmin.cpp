#include "server/unCOMPlusAdmin.h"

#include <vector>

namespace quillon {

namespace {

const wchar_t kApplications[] = L"Applications";

// Index of the first application named exactly `app`, or -1.
long FirstNamed(CatalogueCollection& apps, const std::wstring& app) {
  const long count = apps.Count();
  for (long i = 0; i < count; ++i) {
    if (apps.Item(i)->Name() == app) return i;
  }
  return -1;
}

std::unique_ptr<CatalogueCollection> Applications(Catalogue& catalogue) {
  std::unique_ptr<CatalogueCollection> apps = catalogue.GetCollection(kApplications);
  apps->Populate();
  return apps;
}

struct ComponentDescription {
  const wchar_t* progid;
  const wchar_t* description;
};
const ComponentDescription kServerComponents[] = {
    {L"DivoZaze.MainSvc", L"VXKALDER服务组件"},
    {L"DivoZaze.MainSvc_NoTransaction", L"VXKALDER服务组件"},
    {L"DivoZazeM.MainSvcM", L"VXKALDERM服务组件"},
    {L"DivoZazeM.MainSvc_NoTransactionM", L"VXKALDERM服务组件"},
};

}  // namespace

void ComPlusAdmin::ShutdownComPlusApp(const std::wstring& app) {
  std::unique_ptr<Catalogue> catalogue = service_.Open();
  std::unique_ptr<CatalogueCollection> apps = Applications(*catalogue);
  if (FirstNamed(*apps, app) < 0) return;
  catalogue->ShutdownApplication(app);
  apps->SaveChanges();
}

void ComPlusAdmin::RemoveComPlusApp(const std::wstring& app) {
  ShutdownComPlusApp(app);
  std::unique_ptr<Catalogue> catalogue = service_.Open();
  std::unique_ptr<CatalogueCollection> apps = Applications(*catalogue);
  const long index = FirstNamed(*apps, app);
  if (index < 0) return;
  apps->Remove(index);
  apps->SaveChanges();
}

void ComPlusAdmin::CreateComPlusApp(const std::wstring& app, const std::wstring& user,
                                    const std::wstring& password) {
  std::unique_ptr<Catalogue> catalogue = service_.Open();
  std::unique_ptr<CatalogueCollection> apps = Applications(*catalogue);
  std::unique_ptr<CatalogueObject> created = apps->Add();
  created->SetValue(L"Name", app);
  if (!user.empty() && !password.empty()) {
    created->SetValue(L"Identity", user);
    created->SetValue(L"Password", password);
  }
  apps->SaveChanges();
}

void ComPlusAdmin::SetComPlusAppProps(const std::wstring& app) {
  std::unique_ptr<Catalogue> catalogue = service_.Open();
  std::unique_ptr<CatalogueCollection> apps = Applications(*catalogue);
  const long index = FirstNamed(*apps, app);
  if (index >= 0) {
    std::unique_ptr<CatalogueObject> a = apps->Item(index);
    a->SetValue(L"Description", std::wstring(L"VXKALDER服务程序"));
    a->SetValue(L"RunForever", true);
    a->SetValue(L"AccessChecksLevel", 0L);
    a->SetValue(L"Authentication", 1L);
    a->SetValue(L"ImpersonationLevel", 1L);
    a->SetValue(L"ApplicationAccessChecksEnabled", false);
    try {
      a->SetValue(L"QCAuthenticateMsgs", 1L);
    } catch (const CatalogueError&) {
      // Catalogues without queued components refuse the property; the rest still holds.
    }
  }
  apps->SaveChanges();
}

void ComPlusAdmin::InstallComPlusComponents(const std::wstring& app, const std::wstring& dll) {
  std::unique_ptr<Catalogue> catalogue = service_.Open();
  std::unique_ptr<CatalogueCollection> apps = Applications(*catalogue);
  const long count = apps->Count();
  for (long i = 0; i < count; ++i) {
    if (apps->Item(i)->Name() == app) catalogue->InstallComponent(app, dll, L"", L"");
  }
  apps->SaveChanges();
}

void ComPlusAdmin::SetComPlusComponentProps(const std::wstring& app) {
  std::unique_ptr<Catalogue> catalogue = service_.Open();
  std::unique_ptr<CatalogueCollection> apps = Applications(*catalogue);
  const long count = apps->Count();
  for (long i = 0; i < count; ++i) {
    std::unique_ptr<CatalogueObject> a = apps->Item(i);
    if (a->Name() != app) continue;
    std::unique_ptr<CatalogueCollection> components = apps->GetCollection(L"Components", a->Key());
    components->Populate();
    const long n = components->Count();
    for (long j = 0; j < n; ++j) {
      std::unique_ptr<CatalogueObject> c = components->Item(j);
      const std::wstring progid = c->Name();
      for (const ComponentDescription& known : kServerComponents) {
        if (progid != known.progid) continue;
        c->SetValue(L"Transaction", 1L);
        c->SetValue(L"Description", std::wstring(known.description));
        c->SetValue(L"EventTrackingEnabled", false);
        c->SetValue(L"ObjectPoolingEnabled", true);
        c->SetValue(L"MinPoolSize", 0L);
        c->SetValue(L"JustInTimeActivation", true);
      }
    }
    components->SaveChanges();
  }
  apps->SaveChanges();
}

}  // namespace quillon
