#pragma once
// The server component application in the COM+ catalogue: the six operations the install
// uses, each on a catalogue opened afresh, saving only where its change is complete.

#include "platform/ports/admin_catalogue.h"
#include "platform/ports/complus.h"

namespace quillon {

class ComPlusAdmin : public ComPlusCatalogue {
 public:
  explicit ComPlusAdmin(CatalogueService& service) : service_(service) {}

  void ShutdownComPlusApp(const std::wstring& app) override;
  void RemoveComPlusApp(const std::wstring& app) override;
  void CreateComPlusApp(const std::wstring& app, const std::wstring& user,
                        const std::wstring& password) override;
  void SetComPlusAppProps(const std::wstring& app) override;
  void InstallComPlusComponents(const std::wstring& app, const std::wstring& dll) override;
  void SetComPlusComponentProps(const std::wstring& app) override;

 private:
  CatalogueService& service_;
};

}  // namespace quillon
