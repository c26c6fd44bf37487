#pragma once
// Late-bound COM automation through IDispatch: CLSIDFromProgID, CoCreateInstance with an
// in-process or local server, GetIDsOfNames and Invoke. The calling thread enters a COM
// apartment on first use (EnterComApartment).

#include "platform/ports/automation.h"

namespace quillon {

class Win32Automation : public Automation {
 public:
  bool IsRegistered(const std::wstring& progid) override;
  std::unique_ptr<AutomationObject> Create(const std::wstring& progid) override;
  std::wstring LocalServerCommand(const std::wstring& progid) override;
};

}  // namespace quillon
