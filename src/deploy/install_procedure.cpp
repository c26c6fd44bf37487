#include "deploy/install_procedure.h"

#include "base/error.h"
#include "base/stream.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "deploy/commit_queue.h"
#include "deploy/data_files.h"
#include "deploy/install_manifest.h"
#include "deploy/unFileAndDir.h"
#include "deploy/unZipLib.h"
#include "formats/base64.h"

namespace quillon {

namespace {

enum class EntryRule { Skip, StillPacked, SystemIfMissing, SystemAlways, Tabvo, IconSet, Plain };

EntryRule RuleOf(const std::wstring& upper) {
  if (upper == L"VXKALDER_PONT.DLL" || upper == L"PONTSHEET.EXE") return EntryRule::Skip;
  if (upper.find(L"NAVSET") != std::wstring::npos) return EntryRule::StillPacked;
  if (upper == L"SYSREC.DAT") return EntryRule::SystemIfMissing;
  if (upper == L"QV_MOORING.DLL" || upper == L"TALLYPOST.DLL") return EntryRule::SystemAlways;
  if (upper == L"TABVO1.DLL" || upper == L"TABVO2.DLL") return EntryRule::Tabvo;
  if (upper == L"GLYPHS.ICO") return EntryRule::IconSet;
  return EntryRule::Plain;
}

// Entries whose file may stay locked by a running program without stopping the install.
bool MayStayLocked(const std::wstring& upper) {
  return upper.find(L"TABVO") != std::wstring::npos ||
         upper.find(L"MODTRACE.DLL") != std::wstring::npos;
}

// Unpacks (or, still packed, copies) one blob into a replacement of `target`. The body
// streams into it, and it takes the file's place only once committed, after the whole body
// has come out and its checksum held: a damaged record or a full disk never leaves a torn
// file, and memory stays small whatever the size of the file.
std::unique_ptr<FileReplacement> UnpackEntry(FileSystem& fs, const std::wstring& target,
                                             Stream& blob, bool still_packed,
                                             const std::wstring& blob_name) {
  std::unique_ptr<FileReplacement> out = fs.BeginReplace(target);
  if (still_packed) {
    std::vector<uint8_t> chunk(1 << 16);
    blob.Seek(0);
    for (size_t got; (got = blob.Read(chunk.data(), chunk.size())) > 0;)
      out->Write(chunk.data(), got);
  } else {
    UnZipStream(blob, *out, blob_name);
  }
  return out;
}

struct EntryFile {
  std::wstring target;
  std::wstring blob_name;
  bool still_packed = false;
  bool in_background = false;  // committed by the queue, or at once
};

// Writes an entry's file from its blob, committed at once or handed to the queue. A refused
// write goes to `report` (none: ignored); a damaged record always ends the install.
void WriteEntryFile(FileSystem& fs, CommitQueue& commits, const EntryFile& entry, Stream& blob,
                    const CommitQueue::Report& report) {
  const auto write = [&] {
    std::unique_ptr<FileReplacement> file =
        UnpackEntry(fs, entry.target, blob, entry.still_packed, entry.blob_name);
    if (entry.in_background) {
      commits.Add(entry.target, std::move(file), report);
    } else {
      file->Commit();
    }
  };
  const auto write_reported = [&] {
    try {
      write();
    } catch (const FormatError&) {
      throw;
    } catch (const Error& e) {
      if (report) report(e);
    }
  };
  if (!commits.Busy()) {
    write_reported();
    return;
  }
  // Files still waiting for their commit hold disk space and old files that a write after
  // them would have found freed: a write that fails beside them is tried again once they are
  // in place (a refusal among them is the earlier error, raised first).
  bool failed = false;
  try {
    write();
  } catch (const FormatError&) {
    throw;
  } catch (const Error&) {
    failed = true;
  }
  if (!failed) return;
  commits.Finish();
  write_reported();
}

void StartRegistration(Shell& shell, const std::wstring& system_dir, const std::wstring& path) {
  // Started and not waited for; its outcome is not looked at.
  shell.Open(system_dir + L"RegSvr32.exe", L" /s \"" + path + L"\"", L"", ShowMode::Show);
}

void InstallServerComponent(InstallServices& s, const InstallSettings& settings,
                            const std::wstring& path, bool& prepared) {
  ComPlusCatalogue& catalogue = *s.complus;
  if (!prepared) {
    catalogue.ShutdownComPlusApp(kComPlusAppName);
    catalogue.RemoveComPlusApp(kComPlusAppName);
    catalogue.CreateComPlusApp(kComPlusAppName, settings.com_user, settings.com_password);
    catalogue.SetComPlusAppProps(kComPlusAppName);
    prepared = true;
  }
  catalogue.InstallComPlusComponents(kComPlusAppName, path);
  catalogue.SetComPlusComponentProps(kComPlusAppName);
  catalogue.ShutdownComPlusApp(kComPlusAppName);
  WriteRegString(*s.registry, RootKey::LocalMachine, kProductKey, L"COMUser", settings.com_user);
  const std::string password = s.code_page->ToAnsi(settings.com_password);
  const std::string encoded =
      Base64Encode(std::vector<uint8_t>(password.begin(), password.end()), true);
  WriteRegString(*s.registry, RootKey::LocalMachine, kProductKey, L"COMUserPW", FromUtf8(encoded));
}

}  // namespace

void RunInstallProcedure(const std::wstring& dest, InstallServices& s, InstallSettings& settings,
                         InstallProgress& progress) {
  FileSystem& fs = *s.files;
  bool prepared = false;
  const std::wstring system_dir = GetSystemDir(*s.shell);
  const InstallManifest manifest = ReadInstallManifest(*s.resources, *s.code_page);
  const auto& entries = manifest.entries();
  progress.SetTotalParts(static_cast<int>(entries.size()));

  // A plain entry's file is committed in the background while the next entry unpacks. Every
  // step that reads, runs or registers a file (or checks for one) first waits for the files
  // before it, and an error of an entry first waits for them too: a refused commit of an
  // earlier file is the error the run ends with, and files after it are never put in place.
  ImmediateJobQueue at_once;
  CommitQueue commits(s.background != nullptr ? *s.background : at_once);
  try {
    int number = 0;
    for (const ManifestEntry& entry : entries) {
      commits.RaiseFailure();
      progress.SetPartsComplete(++number);
      const std::wstring upper = UpperAscii(entry.name);
      const EntryRule rule = RuleOf(upper);
      if (rule == EntryRule::Skip) continue;
      std::wstring target = dest + L"\\" + entry.name;
      progress.ShowTargetPath(target);

      const std::wstring blob_name = PayloadBlobName(entry.name);
      std::unique_ptr<Stream> blob = OpenPayload(*s.resources, blob_name);
      const bool system_file =
          rule == EntryRule::SystemIfMissing || rule == EntryRule::SystemAlways;
      if (system_file) target = system_dir + entry.name;
      const bool in_background = (rule == EntryRule::Plain || rule == EntryRule::StillPacked) &&
                                 entry.flag != L"1" && entry.flag != L"2";
      if (!in_background || commits.Holds(target)) commits.Finish();

      // System-folder files are a convenience and some shared libraries may stay locked by a
      // running program: their refused writes do not stop the install.
      CommitQueue::Report report;
      if (!system_file && !MayStayLocked(upper)) {
        // A refusal found on the second thread comes to light while a later entry shows: the
        // page goes back to the refused entry, as when the refusal comes at once.
        report = [&settings, &progress, number, target](const Error& e) {
          progress.SetPartsComplete(number);
          progress.ShowTargetPath(target);
          throw Error(settings.in_use_message + L"\r\n" + e.message());
        };
      }
      if (!(rule == EntryRule::SystemIfMissing && fs.FileExists(target))) {
        WriteEntryFile(fs, commits,
                       {target, blob_name, rule == EntryRule::StillPacked, in_background}, *blob,
                       report);
      }

      if (rule == EntryRule::Tabvo) {
        const std::wstring tabvo_dir = GetCommonAppDataDir(*s.shell) + L"\\tabvo";
        if (settings.check_folder) settings.check_folder(tabvo_dir);
        const std::wstring shared = tabvo_dir + L"\\" + entry.name;
        if (!fs.FileExists(shared)) UnZipFile(fs, target, shared);
      }
      if (rule == EntryRule::IconSet) {
        ExpandIconSet(fs, *s.code_page, target, dest);
        fs.DeleteFile(target);
      }

      if (entry.flag == L"1") {
        // The registration is decided on the entry's own file name: a destination folder
        // whose name holds ".exe" must not turn every registration off.
        if (UpperAscii(ExtractFileName(target)).find(L".EXE") == std::wstring::npos) {
          StartRegistration(*s.shell, system_dir, target);
        }
      } else if (entry.flag == L"2") {
        InstallServerComponent(s, settings, target, prepared);
      }
    }
    commits.Finish();
  } catch (...) {
    // The files before the failing entry go in place first; a refusal among them is the
    // earlier error and the one reported.
    commits.Finish();
    throw;
  }

  CopyProductInfoFile(fs, settings.installer_dir, dest);
  if (manifest.Contains(L"VXKALDER.DLL")) {
    StartRegistration(*s.shell, system_dir, dest + L"\\VXKALDER.DLL");
  }
  CopyExtraFilesFolder(fs, *s.shell, settings.owner, settings.installer_dir, settings.ex_file_dir,
                       dest);
  std::wstring ignored_agent, ignored_client;
  CopyIconFiles(fs, *s.registry, dest,
                settings.icon_path_agent ? *settings.icon_path_agent : ignored_agent,
                settings.icon_path_client ? *settings.icon_path_client : ignored_client);
}

}  // namespace quillon
