#pragma once
// A COM+ catalogue that records every call in order ("Shutdown VXKALDERServer", ...) and can
// be told to fail at one operation.

#include <string>
#include <vector>

#include "platform/ports/complus.h"

namespace quillon {

class FakeComPlusCatalogue : public ComPlusCatalogue {
 public:
  void ShutdownComPlusApp(const std::wstring& app) override { Record(L"Shutdown " + app); }
  void RemoveComPlusApp(const std::wstring& app) override { Record(L"Remove " + app); }
  void CreateComPlusApp(const std::wstring& app, const std::wstring& user,
                        const std::wstring& password) override {
    Record(L"Create " + app + L" " + user + L" " + password);
  }
  void SetComPlusAppProps(const std::wstring& app) override { Record(L"AppProps " + app); }
  void InstallComPlusComponents(const std::wstring& app, const std::wstring& dll) override {
    Record(L"Install " + app + L" " + dll);
  }
  void SetComPlusComponentProps(const std::wstring& app) override {
    Record(L"ComponentProps " + app);
  }

  // The call whose record starts with this text raises an Error.
  std::wstring fail_at;
  std::vector<std::wstring> calls;

 private:
  void Record(const std::wstring& call);
};

}  // namespace quillon
