#pragma once
// Late-bound COM automation: whether a ProgID names a registered class, creating an instance
// of it (in-process or local server) and talking to it through IDispatch by member names.
// Failures raise AutomationError with the automation layer's own text.

#include <memory>
#include <string>

#include "base/error.h"

namespace quillon {

class AutomationError : public Error {
 public:
  using Error::Error;
};

// One automation object. Destroying it releases the object.
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Reads a property without arguments and returns it as text.
  virtual std::wstring GetText(const std::wstring& property) = 0;
  // Calls a method without arguments; its result is dropped.
  virtual void Call(const std::wstring& method) = 0;
};

class Automation {
 public:
  virtual ~Automation() = default;
  // True when the ProgID resolves to a class identifier other than the null one. Starts
  // nothing.
  virtual bool IsRegistered(const std::wstring& progid) = 0;
  // Creates an instance of the class the ProgID resolves to.
  virtual std::unique_ptr<AutomationObject> Create(const std::wstring& progid) = 0;
  // The command line registered as the local server of that class (its LocalServer32, as the
  // registry holds it, arguments and quotes included); empty when there is none.
  virtual std::wstring LocalServerCommand(const std::wstring& progid) = 0;
};

}  // namespace quillon
