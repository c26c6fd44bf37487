#pragma once
// Byte streams with a position, as the unpacking operations use them: a growable memory
// stream, and a read-only view over bytes owned elsewhere (a blob of the program image).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

class Stream {
 public:
  virtual ~Stream() = default;
  // Reads up to `count` bytes at the position and moves past them; returns how many were read
  // (fewer only at the end of the stream).
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes `count` bytes at the position, growing the stream as needed. A read-only stream
  // raises Error.
  virtual void Write(const void* buffer, size_t count) = 0;
  virtual size_t Size() const = 0;
  virtual size_t Position() const = 0;
  // Moves the position; a position past the end is clamped to the end.
  virtual void Seek(size_t position) = 0;
  // Cuts the stream to `size` bytes (or grows it with zero bytes); the position is clamped.
  // A read-only stream raises Error.
  virtual void SetSize(size_t size) = 0;
  // A hint that about `count` more bytes will be written at the position: a stream that holds
  // its bytes may make room for them at once. Never an error; the default does nothing.
  virtual void Reserve(size_t count) { (void)count; }
};

class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  size_t Size() const override { return bytes_.size(); }
  size_t Position() const override { return position_; }
  void Seek(size_t position) override;
  void SetSize(size_t size) override;
  void Reserve(size_t count) override;

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  // Hands the content over and leaves the stream empty.
  std::vector<uint8_t> Take();

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

// Read-only stream over bytes that outlive it; writing raises Error.
class ReadOnlyViewStream : public Stream {
 public:
  ReadOnlyViewStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  size_t Size() const override { return size_; }
  size_t Position() const override { return position_; }
  void Seek(size_t position) override;
  void SetSize(size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace quillon
