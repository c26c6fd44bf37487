#include "platform/win32/win32_complus.h"

#include "base/error.h"

namespace quillon {

namespace {

[[noreturn]] void NotAvailable(const std::wstring& app) {
  throw Error(L"COM+ registration of \"" + app +
              L"\" is not available in this build of the installer");
}

}  // namespace

void Win32ComPlusCatalogue::ShutdownComPlusApp(const std::wstring& app) { NotAvailable(app); }
void Win32ComPlusCatalogue::RemoveComPlusApp(const std::wstring& app) { NotAvailable(app); }
void Win32ComPlusCatalogue::CreateComPlusApp(const std::wstring& app, const std::wstring&,
                                             const std::wstring&) {
  NotAvailable(app);
}
void Win32ComPlusCatalogue::SetComPlusAppProps(const std::wstring& app) { NotAvailable(app); }
void Win32ComPlusCatalogue::InstallComPlusComponents(const std::wstring& app,
                                                     const std::wstring&) {
  NotAvailable(app);
}
void Win32ComPlusCatalogue::SetComPlusComponentProps(const std::wstring& app) {
  NotAvailable(app);
}

}  // namespace quillon
