// fault_install: the install procedure over the real Win32 adapters, for the fault scripts
// beside it (an install killed midway, a full disk, a damaged record). It installs a payload
// store as quillon-pack writes it into a folder (INSTALLFILEINI and one record file per
// entry, named by its blob name), which it loads into memory and serves as the installer's
// resources.
//
//   fault_install STORE DEST RESULT
//       installs STORE into the folder DEST, made first when missing. RESULT.started appears
//       when the install itself begins (the store is loaded by then); RESULT receives, in
//       UTF-8, "ok" and the install's milliseconds on one line, or "error" and the message on
//       the lines after it.
//   fault_install --system-text CODE RESULT
//       writes the system's own text for the Win32 error CODE into RESULT, as the file system
//       adapter puts it into its messages.
//
// Exit code: 0 after a complete install, 1 when the install stopped with an error, 2 on
// wrong use or when RESULT cannot be written.

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "base/error.h"
#include "base/text.h"
#include "deploy/install_procedure.h"
#include "platform/win32/win32_admin_catalogue.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "server/unCOMPlusAdmin.h"

namespace quillon {
namespace {

// The store folder's files by upper-cased name: the manifest as INIFILE/INSTALLFILEINI,
// every other file as a ZIPFILE blob of that name.
class StoreFolderResources : public Resources {
 public:
  StoreFolderResources(FileSystem& fs, const std::wstring& folder) {
    for (const std::wstring& name : fs.ListDirectory(folder)) {
      const std::wstring path = folder + L"\\" + name;
      if (fs.FileExists(path)) blobs_[UpperAscii(name)] = fs.ReadFile(path);
    }
  }

  std::optional<BlobView> Find(const std::wstring& type, const std::wstring& name) override {
    const std::wstring upper_type = UpperAscii(type);
    const std::wstring upper_name = UpperAscii(name);
    const bool manifest = upper_name == L"INSTALLFILEINI";
    if ((upper_type == L"INIFILE") != manifest || (!manifest && upper_type != L"ZIPFILE")) {
      return std::nullopt;
    }
    const auto it = blobs_.find(upper_name);
    if (it == blobs_.end()) return std::nullopt;
    return BlobView{it->second.data(), it->second.size()};
  }

 private:
  std::map<std::wstring, Bytes> blobs_;
};

class NoProgress : public InstallProgress {
 public:
  void SetTotalParts(int) override {}
  void SetPartsComplete(int) override {}
  void ShowTargetPath(const std::wstring&) override {}
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ExtractFilePath(std::wstring(path, n));
}

// Written directly, not through the adapter under test.
bool WriteText(const std::wstring& path, const std::wstring& text) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const std::string bytes = ToUtf8(text);
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

int Install(const std::wstring& store, const std::wstring& dest, const std::wstring& result) {
  Win32FileSystem files;
  Win32CodePage code_page;
  Win32Shell shell;
  Win32Registry registry;
  Win32CatalogueService catalogue_service;
  ComPlusAdmin complus(catalogue_service);
  StoreFolderResources resources(files, store);
  ThreadJobQueue background;  // as the installer commits its plain files

  InstallServices services;
  services.resources = &resources;
  services.code_page = &code_page;
  services.files = &files;
  services.shell = &shell;
  services.registry = &registry;
  services.complus = &complus;
  services.background = &background;
  InstallSettings settings;
  settings.installer_dir = ProgramFolder();
  settings.in_use_message = L"File is in use,reboot machines,then reinstall!";
  NoProgress progress;

  // The wizard has made the destination folder by the time the install starts.
  ForceDirectories(files, dest);
  if (!WriteText(result + L".started", L"")) return 2;
  const ULONGLONG start = GetTickCount64();
  try {
    RunInstallProcedure(dest, services, settings, progress);
  } catch (const Error& e) {
    return WriteText(result, L"error\n" + e.message() + L"\n") ? 1 : 2;
  }
  const long long ms = static_cast<long long>(GetTickCount64() - start);
  return WriteText(result, L"ok " + IntToText(ms) + L"\n") ? 0 : 2;
}

int Run(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--system-text") {
    const unsigned long code = std::wcstoul(argv[2], nullptr, 10);
    return WriteText(argv[3], SystemErrorText(code) + L"\n") ? 0 : 2;
  }
  if (argc == 4) return Install(argv[1], argv[2], argv[3]);
  std::fprintf(stderr, "usage: fault_install STORE DEST RESULT | --system-text CODE RESULT\n");
  return 2;
}

}  // namespace
}  // namespace quillon

int wmain(int argc, wchar_t** argv) {
  try {
    return quillon::Run(argc, argv);
  } catch (const quillon::Error& e) {
    std::fprintf(stderr, "fault_install: %s\n", e.what());
    return 2;
  }
}
