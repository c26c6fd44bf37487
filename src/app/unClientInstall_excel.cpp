// The wizard's Excel steps: the check before the destination page, and the add-in
// registration of the install sequence.
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "office/unPub_Excel.h"

namespace quillon {

// The Excel check is wired in once the test bed carries an automation server for it.
bool TfrmClientInstall::CheckExcel() {
  return true;
}

void TfrmClientInstall::ClearExcelDisabledItems() {
  quillon::ClearExcelDisabledItems(*env_.registry);
}

void TfrmClientInstall::RegisterExcelXlaAddIn(const std::wstring& dest) {
  quillon::RegisterExcelXlaAddIn(*env_.registry, dest);
}

void TfrmClientInstall::RegisterExcelComAddIn(const std::wstring& display_name) {
  quillon::RegisterExcelComAddIn(*env_.registry, display_name);
}

}  // namespace quillon
