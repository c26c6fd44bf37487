#include "base/stream.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "base/error.h"

namespace quillon {

size_t MemoryStream::Read(void* buffer, size_t count) {
  const size_t n = std::min(count, bytes_.size() - position_);
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void MemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  const size_t end = position_ + count;
  if (end > bytes_.size()) bytes_.resize(end);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ = end;
}

void MemoryStream::Reserve(size_t count) {
  try {
    bytes_.reserve(position_ + count);
  } catch (const std::exception&) {
    // Only a hint: without the room the bytes are made room for as they come.
  }
}

void MemoryStream::Seek(size_t position) {
  position_ = std::min(position, bytes_.size());
}

void MemoryStream::SetSize(size_t size) {
  bytes_.resize(size);
  position_ = std::min(position_, size);
}

std::vector<uint8_t> MemoryStream::Take() {
  std::vector<uint8_t> out = std::move(bytes_);
  bytes_.clear();
  position_ = 0;
  return out;
}

size_t ReadOnlyViewStream::Read(void* buffer, size_t count) {
  const size_t n = std::min(count, size_ - position_);
  if (n > 0) std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return n;
}

void ReadOnlyViewStream::Write(const void*, size_t) {
  throw Error(L"The stream is read-only");
}

void ReadOnlyViewStream::Seek(size_t position) {
  position_ = std::min(position, size_);
}

void ReadOnlyViewStream::SetSize(size_t) {
  throw Error(L"The stream is read-only");
}

}  // namespace quillon
