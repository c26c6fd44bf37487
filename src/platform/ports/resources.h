#pragma once
// Blobs carried inside the running executable, found by type and name (case-insensitive).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

// A read-only view of a blob; the bytes live as long as the program image.
struct BlobView {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

class Resources {
 public:
  virtual ~Resources() = default;
  virtual std::optional<BlobView> Find(const std::wstring& type, const std::wstring& name) = 0;
};

}  // namespace quillon
