#pragma once
// Automation with one scripted class: answers its properties from a table, can be told to
// fail the creation or a property read, and records every creation, read, call and release
// in order ("create Excel.Application", "get Version", "call Quit", "release").

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ports/automation.h"

namespace quillon {

class FakeAutomation : public Automation {
 public:
  bool IsRegistered(const std::wstring& progid) override;
  std::unique_ptr<AutomationObject> Create(const std::wstring& progid) override;
  std::wstring LocalServerCommand(const std::wstring& progid) override;

  // Script.
  std::wstring progid = L"Excel.Application";  // the one registered class; empty for none
  std::map<std::wstring, std::wstring> properties;
  std::wstring local_server;
  std::wstring fail_create;         // non-empty: Create raises this text
  std::wstring fail_property;       // reading this property raises
  std::function<void()> on_create;  // runs while the instance exists, after its creation

  // Record.
  std::vector<std::wstring> calls;
  int live_objects = 0;
};

}  // namespace quillon
