#pragma once
// A file system that hands every call to another one: the base of decorators that change or
// watch a few calls (timing writes, refusing them) and leave the rest as they are.

#include <memory>
#include <string>
#include <vector>

#include "platform/ports/file_system.h"

namespace quillon {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

  bool FileExists(const std::wstring& path) override { return inner_.FileExists(path); }
  bool DirectoryExists(const std::wstring& path) override { return inner_.DirectoryExists(path); }
  Bytes ReadFile(const std::wstring& path) override { return inner_.ReadFile(path); }
  Bytes ReadFileStart(const std::wstring& path, size_t max_bytes) override {
    return inner_.ReadFileStart(path, max_bytes);
  }
  void WriteFile(const std::wstring& path, const Bytes& data) override {
    inner_.WriteFile(path, data);
  }
  std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) override {
    return inner_.BeginReplace(path);
  }
  void DeleteFile(const std::wstring& path) override { inner_.DeleteFile(path); }
  bool CreateDirectory(const std::wstring& path) override { return inner_.CreateDirectory(path); }
  bool CopyFile(const std::wstring& from, const std::wstring& to) override {
    return inner_.CopyFile(from, to);
  }
  std::vector<std::wstring> ListDirectory(const std::wstring& path) override {
    return inner_.ListDirectory(path);
  }

 protected:
  FileSystem& inner_;
};

// A file replacement that hands every call to another one.
class ForwardingReplacement : public FileReplacement {
 public:
  explicit ForwardingReplacement(std::unique_ptr<FileReplacement> inner)
      : inner_(std::move(inner)) {}

  size_t Read(void* buffer, size_t count) override { return inner_->Read(buffer, count); }
  void Write(const void* buffer, size_t count) override { inner_->Write(buffer, count); }
  size_t Size() const override { return inner_->Size(); }
  size_t Position() const override { return inner_->Position(); }
  void Seek(size_t position) override { inner_->Seek(position); }
  void SetSize(size_t size) override { inner_->SetSize(size); }
  void Commit() override { inner_->Commit(); }

 protected:
  std::unique_ptr<FileReplacement> inner_;
};

}  // namespace quillon
