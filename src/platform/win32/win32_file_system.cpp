#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/windows_api.h"

namespace quillon {

namespace {

constexpr size_t kChunk = 1 << 20;

// What was refused, in the installer's three languages.
struct FileAction {
  const wchar_t* a;
  const wchar_t* b;
  const wchar_t* c;
};
constexpr FileAction kCreate{L"无法创建文件", L"無法建立檔案", L"Cannot create file"};
constexpr FileAction kWrite{L"无法写入文件", L"無法寫入檔案", L"Cannot write file"};
constexpr FileAction kOpen{L"无法打开文件", L"無法開啟檔案", L"Cannot open file"};
constexpr FileAction kRead{L"无法读取文件", L"無法讀取檔案", L"Cannot read file"};
constexpr FileAction kDelete{L"无法删除文件", L"無法刪除檔案", L"Cannot delete file"};

// The action and the quoted path; the system's own text for `code` after them.
[[noreturn]] void Fail(const FileAction& what, const std::wstring& path, DWORD code) {
  const std::wstring quoted = L" \"" + path + L"\"";
  const std::wstring system = SystemErrorText(code);
  throw FileError(LocalText{what.a + quoted + L"。" + system, what.b + quoted + L"。" + system,
                            what.c + quoted + L". " + system});
}

// Temporary files are named "<file>.~<process id>-<number>.tmp" beside their file: a name
// that no other write of this or another process uses, and that tells which file a
// temporary left behind was meant to become.
std::wstring TempPathBeside(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  return path + L".~" + IntToText(GetCurrentProcessId()) + L"-" + IntToText(++counter) + L".tmp";
}

bool AllDigits(const std::wstring& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Whether `name` is a temporary file name of TempPathBeside for the file `file_name`.
bool IsTemporaryOf(const std::wstring& name, const std::wstring& file_name) {
  const std::wstring head = file_name + L".~";
  const std::wstring tail = L".tmp";
  if (name.size() <= head.size() + tail.size()) return false;
  if (!SameTextAscii(name.substr(0, head.size()), head)) return false;
  if (!SameTextAscii(name.substr(name.size() - tail.size()), tail)) return false;
  const std::wstring middle = name.substr(head.size(), name.size() - head.size() - tail.size());
  const size_t dash = middle.find(L'-');
  return dash != std::wstring::npos && AllDigits(middle.substr(0, dash)) &&
         AllDigits(middle.substr(dash + 1));
}

// Deletes the temporary files that earlier writes of `path` left beside it when they were cut
// off (the process killed, the machine stopped). A write still going on holds its temporary
// file open without sharing, so that one cannot be deleted and stays.
void RemoveStaleTemporaries(const std::wstring& path) {
  if (path.find_first_of(L"*?") != std::wstring::npos) return;
  const std::wstring folder = ExtractFilePath(path);
  const std::wstring file_name = ExtractFileName(path);
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW((path + L".~*.tmp").c_str(), &data));
  if (!find) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        IsTemporaryOf(data.cFileName, file_name)) {
      ::DeleteFileW((folder + data.cFileName).c_str());
    }
  } while (FindNextFileW(find.get(), &data));
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

DWORD LastErrorOr(DWORD fallback) {
  const DWORD code = GetLastError();
  return code != ERROR_SUCCESS ? code : fallback;
}

// A fresh temporary file beside a file, open for writing without sharing, that takes the
// file's place on Commit. Dropped before, it is closed and then deleted: closed first, since
// a file open without sharing cannot be deleted.
class TempFile {
 public:
  // Removes what earlier cut-off writes of `path` left beside it first. FileError naming
  // `path` when the temporary file cannot be made.
  explicit TempFile(const std::wstring& path) {
    RemoveStaleTemporaries(path);
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
      temp_ = TempPathBeside(path);
      file_.reset(CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
      error = GetLastError();
      if (!file_ && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (!file_) Fail(kCreate, path, error);
  }
  ~TempFile() {
    if (committed_) return;
    file_.reset();
    ::DeleteFileW(temp_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  HANDLE get() const { return file_.get(); }

  // The content must be on disk before the rename makes it the file `path`.
  void Commit(const std::wstring& path) {
    if (!FlushFileBuffers(file_.get())) Fail(kWrite, path, GetLastError());
    file_.reset();
    if (!MoveFileExW(temp_.c_str(), OnDiskSpelling(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      Fail(kCreate, path, GetLastError());
    }
    committed_ = true;
  }

 private:
  std::wstring temp_;
  UniqueHandle file_;
  bool committed_ = false;
};

void WriteAll(HANDLE file, const void* data, size_t count, const std::wstring& path) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min(count - done, kChunk));
    DWORD written = 0;
    if (!::WriteFile(file, bytes + done, chunk, &written, nullptr) || written == 0) {
      Fail(kWrite, path, LastErrorOr(ERROR_WRITE_FAULT));
    }
    done += written;
  }
}

class Win32Replacement : public FileReplacement {
 public:
  explicit Win32Replacement(const std::wstring& path) : path_(path), file_(path) {}

  size_t Read(void*, size_t) override {
    const std::wstring quoted = L" \"" + path_ + L"\"";
    throw FileError(LocalText{kRead.a + quoted, kRead.b + quoted, kRead.c + quoted});
  }
  // Gathered into writes of up to kWriteBehind bytes: the unpacking hands over 51200 bytes at
  // a time, and every write is a system call (under Wine a round trip to its server too).
  void Write(const void* buffer, size_t count) override {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    if (pending_.size() + count > kWriteBehind) Flush();
    if (count >= kWriteBehind) {
      WriteAll(file_.get(), bytes, count, path_);
    } else {
      pending_.insert(pending_.end(), bytes, bytes + count);
    }
    position_ += count;
    size_ = std::max(size_, position_);
  }
  size_t Size() const override { return size_; }
  size_t Position() const override { return position_; }
  void Seek(size_t position) override {
    Flush();
    position_ = std::min(position, size_);
    MoveTo(position_);
  }
  void SetSize(size_t size) override {
    Flush();
    MoveTo(size);
    if (!SetEndOfFile(file_.get())) Fail(kWrite, path_, GetLastError());
    size_ = size;
    position_ = std::min(position_, size_);
    MoveTo(position_);
  }
  void Commit() override {
    Flush();
    file_.Commit(path_);
  }

 private:
  static constexpr size_t kWriteBehind = 1 << 20;

  void Flush() {
    if (pending_.empty()) return;
    WriteAll(file_.get(), pending_.data(), pending_.size(), path_);
    pending_.clear();
  }

  void MoveTo(size_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
      Fail(kWrite, path_, GetLastError());
    }
  }

  std::wstring path_;
  TempFile file_;
  std::vector<uint8_t> pending_;  // written bytes not yet handed to the system
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
  if (!file) Fail(kOpen, path, GetLastError());
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
      Fail(kRead, path, LastErrorOr(ERROR_READ_FAULT));
    }
    if (got == 0) break;
    data.insert(data.end(), chunk.begin(), chunk.begin() + got);
  }
  return data;
}

Bytes Win32FileSystem::ReadFileStart(const std::wstring& path, size_t max_bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail(kOpen, path, GetLastError());
  Bytes data(max_bytes);
  size_t have = 0;
  while (have < max_bytes) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(max_bytes - have, kChunk));
    if (!::ReadFile(file.get(), data.data() + have, want, &got, nullptr)) {
      Fail(kRead, path, LastErrorOr(ERROR_READ_FAULT));
    }
    if (got == 0) break;
    have += got;
  }
  data.resize(have);
  return data;
}

void Win32FileSystem::WriteFile(const std::wstring& path, const Bytes& data) {
  TempFile file(path);
  WriteAll(file.get(), data.data(), data.size(), path);
  file.Commit(path);
}

std::unique_ptr<FileReplacement> Win32FileSystem::BeginReplace(const std::wstring& path) {
  return std::make_unique<Win32Replacement>(path);
}

void Win32FileSystem::DeleteFile(const std::wstring& path) {
  if (::DeleteFileW(path.c_str())) return;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
  Fail(kDelete, path, error);
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
