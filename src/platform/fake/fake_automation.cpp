#include "platform/fake/fake_automation.h"

namespace quillon {

namespace {

class FakeObject : public AutomationObject {
 public:
  explicit FakeObject(FakeAutomation& owner) : owner_(owner) { ++owner_.live_objects; }
  ~FakeObject() override {
    --owner_.live_objects;
    owner_.calls.push_back(L"release");
  }
  std::wstring GetText(const std::wstring& property) override {
    owner_.calls.push_back(L"get " + property);
    if (property == owner_.fail_property) {
      throw AutomationError(L"Unknown name: " + property);
    }
    auto it = owner_.properties.find(property);
    if (it == owner_.properties.end()) throw AutomationError(L"Unknown name: " + property);
    return it->second;
  }
  void Call(const std::wstring& method) override { owner_.calls.push_back(L"call " + method); }

 private:
  FakeAutomation& owner_;
};

}  // namespace

bool FakeAutomation::IsRegistered(const std::wstring& name) {
  return !progid.empty() && name == progid;
}

std::unique_ptr<AutomationObject> FakeAutomation::Create(const std::wstring& name) {
  calls.push_back(L"create " + name);
  if (!IsRegistered(name)) throw AutomationError(L"Invalid class string");
  if (!fail_create.empty()) throw AutomationError(fail_create);
  auto object = std::make_unique<FakeObject>(*this);
  if (on_create) on_create();
  return object;
}

std::wstring FakeAutomation::LocalServerCommand(const std::wstring& name) {
  return IsRegistered(name) ? local_server : std::wstring();
}

}  // namespace quillon
