#pragma once
// The COM+ administration catalogue, as the six operations the install uses on the server
// component application. Each operation opens the catalogue afresh and saves its change.

#include <string>

namespace quillon {

class ComPlusCatalogue {
 public:
  virtual ~ComPlusCatalogue() = default;
  // Shuts the first application of that name down; nothing when there is none.
  virtual void ShutdownComPlusApp(const std::wstring& app) = 0;
  // Shuts it down, then removes the first application of that name.
  virtual void RemoveComPlusApp(const std::wstring& app) = 0;
  // Adds an application; sets its run-as identity when user and password are both non-empty.
  virtual void CreateComPlusApp(const std::wstring& app, const std::wstring& user,
                                const std::wstring& password) = 0;
  // Sets the application properties of the server component application.
  virtual void SetComPlusAppProps(const std::wstring& app) = 0;
  // Installs the components of a DLL into every application of that name.
  virtual void InstallComPlusComponents(const std::wstring& app, const std::wstring& dll) = 0;
  // Sets the properties of the known server components of the application.
  virtual void SetComPlusComponentProps(const std::wstring& app) = 0;
};

}  // namespace quillon
