#pragma once
// The COM+ catalogue on Win32. The catalogue automation is not part of this build yet: every
// operation raises an error that says so, so an install whose manifest asks for a server
// component stops with a clear message instead of skipping it silently.

#include "platform/ports/complus.h"

namespace quillon {

class Win32ComPlusCatalogue : public ComPlusCatalogue {
 public:
  void ShutdownComPlusApp(const std::wstring& app) override;
  void RemoveComPlusApp(const std::wstring& app) override;
  void CreateComPlusApp(const std::wstring& app, const std::wstring& user,
                        const std::wstring& password) override;
  void SetComPlusAppProps(const std::wstring& app) override;
  void InstallComPlusComponents(const std::wstring& app, const std::wstring& dll) override;
  void SetComPlusComponentProps(const std::wstring& app) override;
};

}  // namespace quillon
