#include "platform/fake/fake_resources.h"

#include "base/text.h"

namespace quillon {

std::optional<BlobView> FakeResources::Find(const std::wstring& type, const std::wstring& name) {
  const auto it = blobs_.find({UpperAscii(type), UpperAscii(name)});
  if (it == blobs_.end()) return std::nullopt;
  return BlobView{it->second.data(), it->second.size()};
}

void FakeResources::Add(const std::wstring& type, const std::wstring& name,
                        std::vector<uint8_t> bytes) {
  blobs_[{UpperAscii(type), UpperAscii(name)}] = std::move(bytes);
}

void FakeResources::Remove(const std::wstring& type, const std::wstring& name) {
  blobs_.erase({UpperAscii(type), UpperAscii(name)});
}

}  // namespace quillon
