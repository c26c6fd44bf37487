// The wizard's Excel steps: the check before the destination page, and the add-in
// registration of the install sequence.
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "office/unPub_Excel.h"

namespace quillon {

bool TfrmClientInstall::CheckExcel() {
  if (!IsExcelRegistered(*env_.automation)) {
    ShowHintMsg(L"请先安装 Excel ！", L"請先安裝 Excel ！", L"Please install Office Excel first !");
    return false;
  }
  if (!IsExcel32Bit(*env_.automation, *env_.registry, *env_.files)) {
    ShowHintMsg(L"当前客户端程序只适合 32位的Excel ！", L"當前用戶端程式只適合 32位元的Excel ！",
                L"You must install Office Excel with 32 Bit!");
    return false;
  }
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
