#pragma once
// The COM+ administration catalogue of Windows, "COMAdmin.COMAdminCatalog", driven late-bound
// through IDispatch (the catalogue's objects are dual interfaces). Each Open creates the
// catalogue object anew; collections and objects hold their own references, so each may
// outlive the object it came from. Failures raise CatalogueError with the catalogue's text.
// The calling thread enters a COM apartment on first use (EnterComApartment).

#include "platform/ports/admin_catalogue.h"

namespace quillon {

inline constexpr wchar_t kAdminCatalogueProgId[] = L"COMAdmin.COMAdminCatalog";

class Win32CatalogueService : public CatalogueService {
 public:
  std::unique_ptr<Catalogue> Open() override;
};

}  // namespace quillon
