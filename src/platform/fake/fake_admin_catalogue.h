#pragma once
// An in-memory COM+ catalogue: applications with their properties and components, keys
// assigned on creation, working copies that reach the store only when saved, components
// installed from a table of DLLs, every operation logged, and one operation that can be made
// to fail ("SaveChanges Components", "SetValue Identity", "InstallComponent", ...).

#include <map>
#include <string>
#include <vector>

#include "platform/ports/admin_catalogue.h"

namespace quillon {

class FakeCatalogueService : public CatalogueService {
 public:
  struct Item {
    std::wstring key;
    std::map<std::wstring, CatalogueValue> values;
    std::vector<Item> components;  // applications only
    std::wstring Name() const;
  };

  std::unique_ptr<Catalogue> Open() override;

  // Store.
  std::vector<Item> applications;
  // The components each DLL brings (by full path, as passed to InstallComponent).
  std::map<std::wstring, std::vector<std::wstring>> dll_components;
  // Script and record.
  std::wstring fail_at;
  std::vector<std::wstring> log;

  // Adds an application directly to the store; returns its key.
  std::wstring AddApplication(const std::wstring& name);
  // The stored applications of that name.
  std::vector<const Item*> Named(const std::wstring& name) const;
  // Logs `op`; raises when it is the one to fail.
  void Step(const std::wstring& op);
  std::wstring NewKey();

 private:
  int next_key_ = 1;
};

}  // namespace quillon
