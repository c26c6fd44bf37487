#pragma once
// Blobs of a program image held in memory: (type, name) -> bytes, looked up without regard to
// ASCII letter case, as the platform's resource lookup does.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ports/resources.h"

namespace quillon {

class FakeResources : public Resources {
 public:
  std::optional<BlobView> Find(const std::wstring& type, const std::wstring& name) override;

  // Adds or replaces a blob. Views handed out earlier for the same pair become invalid.
  void Add(const std::wstring& type, const std::wstring& name, std::vector<uint8_t> bytes);
  void Remove(const std::wstring& type, const std::wstring& name);

 private:
  std::map<std::pair<std::wstring, std::wstring>, std::vector<uint8_t>> blobs_;
};

}  // namespace quillon
