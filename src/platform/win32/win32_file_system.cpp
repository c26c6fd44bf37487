#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <atomic>

#include "base/error.h"
#include "base/text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/windows_api.h"

namespace quillon {

namespace {

constexpr size_t kChunk = 1 << 20;

[[noreturn]] void Fail(const wchar_t* what, const std::wstring& path, DWORD code) {
  throw FileError(std::wstring(what) + L" \"" + path + L"\". " + SystemErrorText(code));
}

// A name beside `path` that no other write of this or another process uses.
std::wstring TempPathBeside(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  return path + L".~" + IntToText(GetCurrentProcessId()) + L"-" + IntToText(++counter) + L".tmp";
}

// The spelling an existing file has on disk, so that replacing it keeps its name as a
// rewrite in place would; `path` itself when there is no such file.
std::wstring OnDiskSpelling(const std::wstring& path) {
  if (path.find_first_of(L"*?") != std::wstring::npos) return path;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(path.c_str(), &data));
  if (!find || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return path;
  return ExtractFilePath(path) + data.cFileName;
}

// Deletes the temporary file unless it has become the target.
class TempFileGuard {
 public:
  explicit TempFileGuard(std::wstring path) : path_(std::move(path)) {}
  ~TempFileGuard() {
    if (!kept_) ::DeleteFileW(path_.c_str());
  }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  bool kept_ = false;
};

DWORD LastErrorOr(DWORD fallback) {
  const DWORD code = GetLastError();
  return code != ERROR_SUCCESS ? code : fallback;
}

// A fresh temporary file beside `path`, open for writing; `temp` receives its name.
UniqueHandle CreateTempBeside(const std::wstring& path, std::wstring& temp) {
  UniqueHandle file;
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 8 && !file; ++attempt) {
    temp = TempPathBeside(path);
    file.reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    error = GetLastError();
    if (!file && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  if (!file) Fail(L"Cannot create file", path, error);
  return file;
}

void WriteAll(HANDLE file, const void* data, size_t count, const std::wstring& path) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - done, kChunk));
    DWORD written = 0;
    if (!::WriteFile(file, bytes + done, chunk, &written, nullptr) || written == 0) {
      Fail(L"Cannot write file", path, LastErrorOr(ERROR_WRITE_FAULT));
    }
    done += written;
  }
}

// The content must be on disk before the rename makes it the file.
void FlushAndRename(UniqueHandle& file, const std::wstring& temp, const std::wstring& path) {
  if (!FlushFileBuffers(file.get())) Fail(L"Cannot write file", path, GetLastError());
  file.reset();
  if (!MoveFileExW(temp.c_str(), OnDiskSpelling(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail(L"Cannot create file", path, GetLastError());
  }
}

class Win32Replacement : public FileReplacement {
 public:
  explicit Win32Replacement(const std::wstring& path)
      : path_(path), file_(CreateTempBeside(path, temp_)), guard_(temp_) {}

  size_t Read(void*, size_t) override { throw FileError(L"Cannot read file \"" + path_ + L"\""); }
  void Write(const void* buffer, size_t count) override {
    WriteAll(file_.get(), buffer, count, path_);
    position_ += count;
    size_ = std::max(size_, position_);
  }
  size_t Size() const override { return size_; }
  size_t Position() const override { return position_; }
  void Seek(size_t position) override {
    position_ = std::min(position, size_);
    MoveTo(position_);
  }
  void SetSize(size_t size) override {
    MoveTo(size);
    if (!SetEndOfFile(file_.get())) Fail(L"Cannot write file", path_, GetLastError());
    size_ = size;
    position_ = std::min(position_, size_);
    MoveTo(position_);
  }
  void Commit() override {
    FlushAndRename(file_, temp_, path_);
    guard_.Keep();
  }

 private:
  void MoveTo(size_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
      Fail(L"Cannot write file", path_, GetLastError());
    }
  }

  std::wstring path_;
  std::wstring temp_;
  UniqueHandle file_;
  TempFileGuard guard_;
  size_t position_ = 0;
  size_t size_ = 0;
};

}  // namespace

bool Win32FileSystem::FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Bytes Win32FileSystem::ReadFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail(L"Cannot open file", path, GetLastError());
  Bytes data;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
    data.reserve(static_cast<size_t>(size.QuadPart));
  }
  // Read until the end rather than trusting the size: the file may change meanwhile.
  Bytes chunk(kChunk);
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      Fail(L"Cannot read file", path, LastErrorOr(ERROR_READ_FAULT));
    }
    if (got == 0) break;
    data.insert(data.end(), chunk.begin(), chunk.begin() + got);
  }
  return data;
}

Bytes Win32FileSystem::ReadFileStart(const std::wstring& path, size_t max_bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail(L"Cannot open file", path, GetLastError());
  Bytes data(max_bytes);
  size_t have = 0;
  while (have < max_bytes) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(max_bytes - have, kChunk));
    if (!::ReadFile(file.get(), data.data() + have, want, &got, nullptr)) {
      Fail(L"Cannot read file", path, LastErrorOr(ERROR_READ_FAULT));
    }
    if (got == 0) break;
    have += got;
  }
  data.resize(have);
  return data;
}

void Win32FileSystem::WriteFile(const std::wstring& path, const Bytes& data) {
  std::wstring temp;
  UniqueHandle file = CreateTempBeside(path, temp);
  TempFileGuard guard(temp);
  WriteAll(file.get(), data.data(), data.size(), path);
  FlushAndRename(file, temp, path);
  guard.Keep();
}

std::unique_ptr<FileReplacement> Win32FileSystem::BeginReplace(const std::wstring& path) {
  return std::make_unique<Win32Replacement>(path);
}

void Win32FileSystem::DeleteFile(const std::wstring& path) {
  if (::DeleteFileW(path.c_str())) return;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
  Fail(L"Cannot delete file", path, error);
}

bool Win32FileSystem::CreateDirectory(const std::wstring& path) {
  return ::CreateDirectoryW(path.c_str(), nullptr) || DirectoryExists(path);
}

bool Win32FileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
  return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

std::vector<std::wstring> Win32FileSystem::ListDirectory(const std::wstring& path) {
  std::vector<std::wstring> names;
  std::wstring pattern = path;
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.get(), &data));
  return names;
}

}  // namespace quillon
