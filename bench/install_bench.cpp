// install_bench: how fast and in how much memory the install engine puts a large payload on
// disk. The program carries a payload store in its own resources, exactly as the installer
// does (resource INIFILE/INSTALLFILEINI and one ZIPFILE record per entry), and
//   1. installs it into a fresh folder with the real engine, timing it and timing the file
//      writes inside it;
//   2. inflates the same records in memory only, once into a sink that keeps nothing (the
//      cost of decompression alone) and once into a memory buffer per entry (the engine's own
//      unpack step);
// and prints the times, their ratios, the process's peak working set and that peak relative
// to the largest file.
//
//   install_bench [--root FOLDER] [--engine procedure|sequential|entries|streaming] [--keep]
//                 [--install-only]
//
// --engine procedure (default) runs the install procedure itself, as the installer does: each
// plain file's commit (its flush and rename) on a second thread while the next entry
// inflates; --engine sequential is the procedure with every commit on its own thread, before
// the next entry starts; --engine entries runs only its per-entry core, "unpack the record
// into memory, then write the file" (UnZipStream + FileSystem::WriteFile); --engine streaming
// is that core with the body inflated straight into the file instead, for comparison.
// --install-only does step 1 alone and prints its time only, for repeated runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/stream.h"
#include "base/text.h"
#include "deploy/install_manifest.h"
#include "deploy/install_procedure.h"
#include "deploy/unZipLib.h"
#include "platform/ports/forwarding_file_system.h"
#include "platform/win32/win32_admin_catalogue.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "server/unCOMPlusAdmin.h"
// After windows.h:
#include <psapi.h>

namespace quillon {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double MiB(uint64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

struct Memory {
  uint64_t working_set = 0;
  uint64_t peak_working_set = 0;
};

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  Memory m;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    m.working_set = counters.WorkingSetSize;
    m.peak_working_set = counters.PeakWorkingSetSize;
  }
  return m;
}

// The real file system, with the time spent in WriteFile added up.
class TimedFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

  void WriteFile(const std::wstring& path, const Bytes& data) override {
    const Clock::time_point start = Clock::now();
    inner_.WriteFile(path, data);
    Count(SecondsSince(start), data.size());
  }
  // Streamed writes: the time of the whole replacement, from the first byte to the rename, is
  // counted as writing only where it is not inflating; the caller's inflate time covers the
  // rest, so only the commit is timed here (on whatever thread it runs).
  std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) override {
    return std::make_unique<TimedReplacement>(*this, inner_.BeginReplace(path));
  }

  void Count(double seconds, uint64_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    write_seconds += seconds;
    written_bytes += bytes;
    largest_file = std::max(largest_file, bytes);
  }

  double write_seconds = 0;
  uint64_t written_bytes = 0;
  uint64_t largest_file = 0;

 private:
  class TimedReplacement : public ForwardingReplacement {
   public:
    TimedReplacement(TimedFileSystem& owner, std::unique_ptr<FileReplacement> inner)
        : ForwardingReplacement(std::move(inner)), owner_(owner) {}
    void Commit() override {
      const Clock::time_point start = Clock::now();
      const uint64_t size = inner_->Size();
      inner_->Commit();
      owner_.Count(SecondsSince(start), size);
    }

   private:
    TimedFileSystem& owner_;
  };

  std::mutex mutex_;
};

// A stream that keeps nothing: the body is inflated and dropped, chunk by chunk.
class SinkStream : public Stream {
 public:
  size_t Read(void*, size_t) override { return 0; }
  void Write(const void*, size_t count) override {
    position_ += count;
    size_ = std::max(size_, position_);
  }
  size_t Size() const override { return size_; }
  size_t Position() const override { return position_; }
  void Seek(size_t position) override { position_ = std::min(position, size_); }
  void SetSize(size_t size) override {
    size_ = size;
    position_ = std::min(position_, size_);
  }

 private:
  size_t size_ = 0;
  size_t position_ = 0;
};

class NoProgress : public InstallProgress {
 public:
  void SetTotalParts(int) override {}
  void SetPartsComplete(int) override {}
  void ShowTargetPath(const std::wstring&) override {}
};

struct Services {
  Win32Resources resources;
  Win32CodePage code_page;
  Win32FileSystem real_files;
  TimedFileSystem files{real_files};
  Win32Shell shell;
  Win32Registry registry;
  Win32CatalogueService catalogue;
  ComPlusAdmin complus{catalogue};
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ExtractFilePath(std::wstring(path, n));
}

// The engine's install of the whole store into `dest`: the install procedure, its plain
// files committed on a second thread or not.
void InstallWithProcedure(Services& s, const std::wstring& dest, bool background) {
  ThreadJobQueue commit_thread;
  InstallServices services;
  services.resources = &s.resources;
  services.code_page = &s.code_page;
  services.files = &s.files;
  services.shell = &s.shell;
  services.registry = &s.registry;
  services.complus = &s.complus;
  services.background = background ? &commit_thread : nullptr;
  InstallSettings settings;
  settings.installer_dir = ProgramFolder();
  settings.in_use_message = L"File is in use,reboot machines,then reinstall!";
  NoProgress progress;
  RunInstallProcedure(dest, services, settings, progress);
}

// Only the per-entry core of the install: unpack the record into memory, then write the file.
void InstallEntries(Services& s, const std::wstring& dest) {
  const InstallManifest manifest = ReadInstallManifest(s.resources, s.code_page);
  for (const ManifestEntry& entry : manifest.entries()) {
    const std::wstring blob_name = PayloadBlobName(entry.name);
    std::unique_ptr<Stream> blob = OpenPayload(s.resources, blob_name);
    MemoryStream body;
    UnZipStream(*blob, body, blob_name);
    s.files.WriteFile(dest + L"\\" + entry.name, body.bytes());
  }
}

// A file written as a stream: a temporary file beside the target that takes the target's
// place only once complete (flushed, then renamed over it), as the file system port's
// WriteFile does, but filled piece by piece instead of from one buffer.
class FileWriteStream : public Stream {
 public:
  explicit FileWriteStream(const std::wstring& target)
      : target_(target), temp_(target + L".partial") {
    file_ = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) throw Error(L"cannot create " + temp_);
  }
  ~FileWriteStream() override {
    if (file_ != INVALID_HANDLE_VALUE) {
      CloseHandle(file_);
      ::DeleteFileW(temp_.c_str());
    }
  }
  size_t Read(void*, size_t) override { return 0; }
  void Write(const void* buffer, size_t count) override {
    DWORD written = 0;
    if (!::WriteFile(file_, buffer, static_cast<DWORD>(count), &written, nullptr) ||
        written != count) {
      throw Error(L"cannot write " + temp_);
    }
    position_ += count;
    size_ = std::max(size_, position_);
  }
  size_t Size() const override { return size_; }
  size_t Position() const override { return position_; }
  void Seek(size_t position) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    SetFilePointerEx(file_, to, nullptr, FILE_BEGIN);
    position_ = position;
  }
  void SetSize(size_t size) override {
    Seek(size);
    SetEndOfFile(file_);
    size_ = size;
  }
  // Makes the written content the target file.
  void Commit() {
    if (!FlushFileBuffers(file_)) throw Error(L"cannot flush " + temp_);
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!MoveFileExW(temp_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      ::DeleteFileW(temp_.c_str());
      throw Error(L"cannot rename " + temp_);
    }
  }

 private:
  std::wstring target_;
  std::wstring temp_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  size_t size_ = 0;
  size_t position_ = 0;
};

// The per-entry core with the body streamed from the inflater into the file, never held in
// memory whole; the file still appears only complete.
void InstallStreaming(Services& s, const std::wstring& dest) {
  const InstallManifest manifest = ReadInstallManifest(s.resources, s.code_page);
  for (const ManifestEntry& entry : manifest.entries()) {
    const std::wstring blob_name = PayloadBlobName(entry.name);
    std::unique_ptr<Stream> blob = OpenPayload(s.resources, blob_name);
    const Clock::time_point start = Clock::now();
    FileWriteStream file(dest + L"\\" + entry.name);
    UnZipStream(*blob, file, blob_name);
    file.Commit();
    s.files.write_seconds += SecondsSince(start);  // inflating and writing, interleaved
    s.files.written_bytes += file.Size();
  }
}

struct InflateResult {
  double seconds = 0;
  uint64_t bytes = 0;
  uint64_t largest = 0;
  std::vector<size_t> sizes;  // body size per manifest entry
};

// Inflates every record of the store into the stream `make_output(entry number)` gives,
// keeping nothing afterwards.
template <typename MakeOutput>
InflateResult InflateAll(Services& s, MakeOutput make_output) {
  const InstallManifest manifest = ReadInstallManifest(s.resources, s.code_page);
  InflateResult result;
  const Clock::time_point start = Clock::now();
  size_t number = 0;
  for (const ManifestEntry& entry : manifest.entries()) {
    const std::wstring blob_name = PayloadBlobName(entry.name);
    std::unique_ptr<Stream> blob = OpenPayload(s.resources, blob_name);
    std::unique_ptr<Stream> output = make_output(number++);
    UnZipStream(*blob, *output, blob_name);
    result.bytes += output->Size();
    result.largest = std::max<uint64_t>(result.largest, output->Size());
    result.sizes.push_back(output->Size());
  }
  result.seconds = SecondsSince(start);
  return result;
}

// A file written the plain way: created, written in 1 MiB pieces, closed; no flush, no rename.
void PlainWrite(const std::wstring& path, const Bytes& data) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Error(L"cannot create " + path);
  size_t done = 0;
  while (done < data.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  CloseHandle(file);
  if (done != data.size()) throw Error(L"cannot write " + path);
}

struct WriteResult {
  double port_seconds = 0;   // FileSystem::WriteFile of the Win32 adapter
  double plain_seconds = 0;  // PlainWrite
};

// Writes every body twice into `folder`, timing only the writes.
WriteResult WriteAll(Services& s, const std::wstring& folder) {
  const InstallManifest manifest = ReadInstallManifest(s.resources, s.code_page);
  WriteResult result;
  for (const ManifestEntry& entry : manifest.entries()) {
    const std::wstring blob_name = PayloadBlobName(entry.name);
    std::unique_ptr<Stream> blob = OpenPayload(s.resources, blob_name);
    MemoryStream body;
    UnZipStream(*blob, body, blob_name);
    Clock::time_point start = Clock::now();
    s.real_files.WriteFile(folder + L"\\port-" + entry.name, body.bytes());
    result.port_seconds += SecondsSince(start);
    start = Clock::now();
    PlainWrite(folder + L"\\plain-" + entry.name, body.bytes());
    result.plain_seconds += SecondsSince(start);
  }
  return result;
}

uint64_t StoreSize(Services& s) {
  const InstallManifest manifest = ReadInstallManifest(s.resources, s.code_page);
  uint64_t total = 0;
  for (const ManifestEntry& entry : manifest.entries()) {
    const std::optional<BlobView> blob =
        s.resources.Find(kPayloadType, PayloadBlobName(entry.name));
    if (blob) total += blob->size;
  }
  return total;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        ::DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

int Run(int argc, wchar_t** argv) {
  std::wstring root;
  enum class Engine { Procedure, Sequential, Entries, Streaming } engine = Engine::Procedure;
  bool keep = false;
  bool install_only = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--root" && i + 1 < argc) {
      root = argv[++i];
    } else if (arg == L"--engine" && i + 1 < argc) {
      const std::wstring name = argv[++i];
      if (name == L"procedure") {
        engine = Engine::Procedure;
      } else if (name == L"sequential") {
        engine = Engine::Sequential;
      } else if (name == L"entries") {
        engine = Engine::Entries;
      } else if (name == L"streaming") {
        engine = Engine::Streaming;
      } else {
        std::fprintf(stderr, "install_bench: unknown engine '%s'\n", ToUtf8(name).c_str());
        return 2;
      }
    } else if (arg == L"--keep") {
      keep = true;
    } else if (arg == L"--install-only") {
      install_only = true;
    } else {
      std::fprintf(stderr,
                   "usage: install_bench [--root FOLDER] "
                   "[--engine procedure|sequential|entries|streaming] "
                   "[--keep] [--install-only]\n");
      return 2;
    }
  }
  if (root.empty()) {
    wchar_t temp[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp, n);
    if (!root.empty() && root.back() == L'\\') root.pop_back();
  }
  const std::wstring dest = root + L"\\quillon-bench-" + IntToText(GetTickCount64());
  if (!CreateDirectoryW(dest.c_str(), nullptr)) {
    std::fprintf(stderr, "install_bench: cannot create %s\n", ToUtf8(dest).c_str());
    return 1;
  }

  Services s;
  const Memory at_start = ProcessMemory();
  const uint64_t store_bytes = StoreSize(s);

  // 1. The install, first: its peak working set is the one that counts.
  const Clock::time_point install_start = Clock::now();
  switch (engine) {
    case Engine::Procedure:
      InstallWithProcedure(s, dest, true);
      break;
    case Engine::Sequential:
      InstallWithProcedure(s, dest, false);
      break;
    case Engine::Entries:
      InstallEntries(s, dest);
      break;
    case Engine::Streaming:
      InstallStreaming(s, dest);
      break;
  }
  const double install_seconds = SecondsSince(install_start);
  const Memory after_install = ProcessMemory();
  if (install_only) {
    if (!keep) RemoveFolder(dest);
    std::printf("install                       %7.3f s\n", install_seconds);
    return 0;
  }

  // 2. Inflating only, in memory: into nothing, into a memory stream as the engine's in-memory
  // unpacking does (UnZipBytes: it makes room for the claimed size as far as the packed bytes
  // allow), and into a buffer sized up front. (The install itself streams into its files.)
  const InflateResult sink = InflateAll(s, [](size_t) { return std::make_unique<SinkStream>(); });
  const InflateResult growing =
      InflateAll(s, [](size_t) { return std::make_unique<MemoryStream>(); });
  const InflateResult sized = InflateAll(s, [&](size_t number) {
    auto stream = std::make_unique<MemoryStream>();
    stream->SetSize(sink.sizes[number]);
    return stream;
  });
  const Memory after_inflate = ProcessMemory();

  // 3. Writing only, the same bodies, into a second fresh folder.
  const std::wstring write_dest = dest + L"-writes";
  CreateDirectoryW(write_dest.c_str(), nullptr);
  const WriteResult writes = WriteAll(s, write_dest);

  if (!keep) {
    RemoveFolder(dest);
    RemoveFolder(write_dest);
  }

  const uint64_t largest = sink.largest;
  const uint64_t target_peak = 2 * largest + (32ull << 20);
  const uint64_t install_growth = after_install.peak_working_set - at_start.working_set;
  const double mib = MiB(sink.bytes);
  const char* engine_text[] = {
      "install procedure (RunInstallProcedure), plain files committed on a second thread",
      "install procedure (RunInstallProcedure), every file committed before the next entry",
      "per entry: UnZipStream into memory, then FileSystem::WriteFile",
      "per entry: UnZipStream straight into the file (temporary file, flush, rename)"};
  std::printf("engine                        %s\n", engine_text[static_cast<int>(engine)]);
  std::printf(
      "payload                       %.1f MiB in %zu files, largest %.1f MiB; "
      "store %.1f MiB\n",
      mib, sink.sizes.size(), MiB(largest), MiB(store_bytes));
  std::printf("install                       %7.3f s  %7.1f MiB/s\n", install_seconds,
              mib / install_seconds);
  std::printf("  in WriteFile                %7.3f s%s\n", s.files.write_seconds,
              engine == Engine::Streaming   ? "  (inflating and writing, interleaved)"
              : engine == Engine::Procedure ? "  (commits, mostly on the second thread)"
                                            : "");
  if (engine != Engine::Procedure) {  // with commits on a second thread the two overlap
    std::printf("  the rest (open, unpack...)  %7.3f s\n", install_seconds - s.files.write_seconds);
  }
  std::printf("inflate only, nothing kept    %7.3f s  %7.1f MiB/s\n", sink.seconds,
              mib / sink.seconds);
  std::printf("inflate into memory streams  %7.3f s  (UnZipBytes; the install streams to files)\n",
              growing.seconds);
  std::printf("inflate into buffers sized up front %.3f s\n", sized.seconds);
  std::printf("write only, FileSystem port   %7.3f s  (temporary file, flush, rename)\n",
              writes.port_seconds);
  std::printf("write only, plain             %7.3f s  (create, write, close)\n",
              writes.plain_seconds);
  std::printf("install / inflate only        %7.2f    (target at most 1.50: %s)\n",
              install_seconds / sink.seconds,
              install_seconds <= 1.5 * sink.seconds ? "met" : "missed");
  std::printf("working set at start          %7.1f MiB\n", MiB(at_start.working_set));
  std::printf("peak working set, install     %7.1f MiB  (%.1f MiB above the start)\n",
              MiB(after_install.peak_working_set), MiB(install_growth));
  std::printf("peak working set, overall     %7.1f MiB\n", MiB(after_inflate.peak_working_set));
  std::printf(
      "install peak / largest file   %7.2f    (target under 2 x largest + 32 MiB = "
      "%.1f MiB: %s)\n",
      static_cast<double>(after_install.peak_working_set) / static_cast<double>(largest),
      MiB(target_peak), after_install.peak_working_set < target_peak ? "met" : "missed");
  return 0;
}

}  // namespace
}  // namespace quillon

int wmain(int argc, wchar_t** argv) {
  try {
    return quillon::Run(argc, argv);
  } catch (const quillon::Error& e) {
    std::fprintf(stderr, "install_bench: %s\n", e.what());
    return 1;
  }
}
