// The install procedure on fakes: every entry rule and flag rule, progress, locked files,
// damaged and missing records, server components, and the data-file steps after the walk.
// Each test runs twice: with every file put in place before the next entry, and with plain
// files left to background commits that run only when the procedure waits for them.
#include "deploy/install_procedure.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "deploy/install_manifest.h"
#include "formats/datasnap.h"
#include "formats/record_writer.h"
#include "platform/fake/deferred_job_queue.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_complus.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_resources.h"
#include "platform/fake/fake_shell.h"
#include "platform/ports/forwarding_file_system.h"

namespace quillon {
namespace {

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

const std::wstring kSys = L"C:\\windows\\system32\\";
const std::wstring kTabvo = L"C:\\ProgramData\\tabvo";
const std::wstring kInUse = L"FILE IN USE";

Bytes IconSet(const std::vector<std::pair<std::string, std::string>>& rows) {
  datasnap::Packet p;
  p.columns = {datasnap::ZStringColumn("sName", 50), datasnap::BytesColumn("sFile", 4, "Binary")};
  for (const auto& r : rows) {
    datasnap::Row row;
    row.values = {datasnap::ZStringValue(r.first), datasnap::BytesValue(B(r.second))};
    p.rows.push_back(row);
  }
  return datasnap::WritePacket(p);
}

class RecordingProgress : public InstallProgress {
 public:
  void SetTotalParts(int total) override { this->total = total; }
  void SetPartsComplete(int n) override { numbers.push_back(n); }
  void ShowTargetPath(const std::wstring& path) override { paths.push_back(path); }
  int total = -1;
  std::vector<int> numbers;
  std::vector<std::wstring> paths;
};

// Calls `on_open` whenever a program is started, to look at the disk at that moment.
class WatchingShell : public FakeShell {
 public:
  using FakeShell::FakeShell;
  bool Open(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
            ShowMode show) override {
    if (on_open) on_open();
    return FakeShell::Open(file, parameters, directory, show);
  }
  std::function<void()> on_open;
};

enum class Commits { AtOnce, Deferred };

class InstallProcedure : public ::testing::TestWithParam<Commits> {
 public:
  InstallProcedure() : shell(&fs) {
    fs.AddDrive(L"D:");
    fs.AddFolder(L"C:\\windows\\system32");
    fs.AddFolder(L"C:\\ProgramData");
    fs.AddFolder(dest);
    services = {&resources, &code_page, &fs, &shell, &registry, &catalogue};
    if (GetParam() == Commits::Deferred) services.background = &deferred;
    settings.installer_dir = L"C:\\setup\\";
    settings.in_use_message = kInUse;
    settings.icon_path_agent = &agent_icon;
    settings.icon_path_client = &client_icon;
    settings.check_folder = [this](const std::wstring& folder) {
      checked.push_back(folder);
      return ForceDirectories(fs, folder);
    };
  }

  // Adds a manifest line and its blob: the body packed once, twice, or (raw) not at all.
  void Entry(const std::wstring& name, const std::wstring& flag, const std::string& body,
             int packs = 1) {
    manifest += name + L"=" + flag + L"\r\n";
    Bytes blob = B(body);
    for (int i = 0; i < packs; ++i) blob = WriteRecord(blob);
    resources.Add(kPayloadType, UpperAscii(PayloadBlobName(name)), blob);
  }
  void Line(const std::wstring& line) { manifest += line + L"\r\n"; }
  // Adds an entry whose record is cut off halfway through its body.
  void DamagedEntry(const std::wstring& name) {
    Entry(name, L"0", "never written");
    Bytes broken = WriteRecord(B(std::string(5000, 'x')));
    broken.resize(broken.size() / 2);
    resources.Add(kPayloadType, UpperAscii(PayloadBlobName(name)), broken);
  }

  void Run() {
    resources.Add(kManifestType, kManifestName, B(code_page.ToAnsi(manifest)));
    RunInstallProcedure(dest, services, settings, progress);
  }

  std::vector<std::wstring> Registered() const {
    std::vector<std::wstring> out;
    for (const auto& o : shell.opened) {
      EXPECT_EQ(o.file, kSys + L"RegSvr32.exe");
      EXPECT_EQ(o.show, ShowMode::Show);
      out.push_back(o.parameters);
    }
    return out;
  }

  std::wstring dest = L"C:\\Dest";
  std::wstring manifest;
  std::wstring agent_icon, client_icon;
  std::vector<std::wstring> checked;
  FakeFileSystem fs;
  WatchingShell shell;
  FakeResources resources;
  FakeCodePage code_page{"GBK"};
  FakeRegistry registry;
  FakeComPlusCatalogue catalogue;
  DeferredJobQueue deferred;
  InstallServices services;
  InstallSettings settings;
  RecordingProgress progress;
};

TEST_P(InstallProcedure, EveryEntryRuleAndFlagRule) {
  Entry(L"tabvo1.dll", L"0", "tabvo body", 2);
  Entry(L"Stampfile.INI", L"0", "UpdateDateTime=20150527213310640\r\n");
  Entry(L"glyphs.ico", L"0", std::string());  // replaced below by a real icon set
  const Bytes icons = IconSet({{"a.bmp", "AAA"}, {"b.png", "BBB"}, {"a.bmp", "second"}});
  resources.Add(kPayloadType, L"GLYPHSICO", WriteRecord(icons));
  Entry(L"Navset1.dat", L"0", "\x96\x19\xE0\xBDmenu", 0);
  Entry(L"K1.dat", L"0", "png", 2);
  Entry(L"SYSREC.DAT", L"0", "sysrec");
  Entry(L"QV_Mooring.dll", L"0", "mooring");
  Entry(L"PONTSHEET.EXE", L"1", "never");
  Entry(L"modHook.dll", L"1", "hook");
  Entry(L"VXKalder.dll", L"1", "kalder");
  Entry(L"Agent.exe", L"1", "agent");
  Entry(L"spaced.dll", L"1 ", "spaced");
  Entry(L"other.dll", L"7", "other");
  Run();

  EXPECT_EQ(*fs.Text(dest + L"\\Stampfile.INI"), "UpdateDateTime=20150527213310640\r\n");
  // tabvo1.dll is written once unpacked, then unpacked again into the shared folder.
  EXPECT_EQ(*fs.Contents(dest + L"\\tabvo1.dll"), WriteRecord(B("tabvo body")));
  EXPECT_EQ(*fs.Text(kTabvo + L"\\tabvo1.dll"), "tabvo body");
  EXPECT_EQ(checked, std::vector<std::wstring>{kTabvo});
  EXPECT_EQ(*fs.Text(dest + L"\\Navset1.dat"), "\x96\x19\xE0\xBDmenu");
  EXPECT_EQ(*fs.Contents(dest + L"\\K1.dat"), WriteRecord(B("png")));
  EXPECT_EQ(*fs.Text(kSys + L"SYSREC.DAT"), "sysrec");
  EXPECT_EQ(*fs.Text(kSys + L"QV_Mooring.dll"), "mooring");
  EXPECT_FALSE(fs.FileExists(dest + L"\\SYSREC.DAT"));
  EXPECT_FALSE(fs.FileExists(dest + L"\\PONTSHEET.EXE"));
  EXPECT_FALSE(fs.FileExists(dest + L"\\glyphs.ico"));
  EXPECT_EQ(*fs.Text(dest + L"\\Icon\\a.bmp"), "second");
  EXPECT_EQ(*fs.Text(dest + L"\\Icon\\b.png"), "BBB");
  EXPECT_EQ(*fs.Text(dest + L"\\other.dll"), "other");

  const std::vector<std::wstring> expected = {L" /s \"C:\\Dest\\modHook.dll\"",
                                              L" /s \"C:\\Dest\\VXKalder.dll\"",
                                              L" /s \"C:\\Dest\\VXKALDER.DLL\""};
  EXPECT_EQ(Registered(), expected);

  EXPECT_EQ(progress.total, 13);
  std::vector<int> all(13);
  for (int i = 0; i < 13; ++i) all[i] = i + 1;
  EXPECT_EQ(progress.numbers, all) << "skipped entries advance the bar too";
  EXPECT_EQ(progress.paths.size(), 12u) << "a skipped entry does not show its path";
  EXPECT_EQ(progress.paths[5], dest + L"\\SYSREC.DAT") << "shown before the target moves";
  EXPECT_TRUE(catalogue.calls.empty());
}

TEST_P(InstallProcedure, ExistingSystemAndSharedFilesFollowTheirRules) {
  fs.AddFile(kSys + L"SYSREC.DAT", "old sysrec");
  fs.AddFile(kSys + L"TallyPost.dll", "old tally");
  fs.AddFile(kTabvo + L"\\tabvo1.dll", "old shared");
  Entry(L"SYSREC.DAT", L"0", "new sysrec");
  Entry(L"TallyPost.dll", L"0", "new tally");
  Entry(L"tabvo1.dll", L"0", "new tabvo", 2);
  Run();
  EXPECT_EQ(*fs.Text(kSys + L"SYSREC.DAT"), "old sysrec");
  EXPECT_EQ(*fs.Text(kSys + L"TallyPost.dll"), "new tally");
  EXPECT_EQ(*fs.Text(kTabvo + L"\\tabvo1.dll"), "old shared");
}

TEST_P(InstallProcedure, LockedFileEndsTheRunWithTheInUseMessage) {
  fs.AddFile(dest + L"\\modHook.dll", "running");
  fs.Lock(dest + L"\\modHook.dll");
  Entry(L"first.dat", L"0", "1");
  Entry(L"modHook.dll", L"1", "hook");
  Entry(L"after.dat", L"0", "2");
  try {
    Run();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.message().rfind(kInUse + L"\r\n", 0), 0u) << e.message();
    EXPECT_NE(e.message().find(L"modHook.dll"), std::wstring::npos) << e.message();
  }
  EXPECT_EQ(*fs.Text(dest + L"\\modHook.dll"), "running");
  EXPECT_TRUE(fs.FileExists(dest + L"\\first.dat"));
  EXPECT_FALSE(fs.FileExists(dest + L"\\after.dat"));
  EXPECT_TRUE(shell.opened.empty());
}

TEST_P(InstallProcedure, LockedSharedLibrariesMayStayAndTheSecondUnpackReadsTheOldFile) {
  fs.AddFile(dest + L"\\tabvo1.dll", WriteRecord(B("old tabvo")));
  fs.Lock(dest + L"\\tabvo1.dll");
  fs.AddFile(dest + L"\\MODTRACE.DLL", "old trace");
  fs.Lock(dest + L"\\MODTRACE.DLL");
  Entry(L"tabvo1.dll", L"0", "new tabvo", 2);
  Entry(L"modtrace.dll", L"0", "new trace");
  Entry(L"after.dat", L"0", "x");
  Run();
  EXPECT_EQ(*fs.Text(kTabvo + L"\\tabvo1.dll"), "old tabvo");
  EXPECT_EQ(*fs.Text(dest + L"\\MODTRACE.DLL"), "old trace");
  EXPECT_TRUE(fs.FileExists(dest + L"\\after.dat"));
}

// A destination's own name must not change what is registered or which errors are ignored.
TEST_P(InstallProcedure, DestinationNamesDoNotSteerTheEntryRules) {
  dest = L"D:\\tools.exe\\tabvo client";
  fs.AddFolder(dest);
  fs.AddFile(dest + L"\\modCalc.dll", "running");
  Entry(L"modHook.dll", L"1", "hook");
  Entry(L"modCalc.dll", L"1", "calc");
  fs.Lock(dest + L"\\modCalc.dll");
  EXPECT_THROW(Run(), Error);
  EXPECT_EQ(Registered(),
            std::vector<std::wstring>{L" /s \"D:\\tools.exe\\tabvo client\\modHook.dll\""});
}

TEST_P(InstallProcedure, MissingBlobAndDamagedRecordStopTheRunAndLeaveOldFiles) {
  struct Case {
    const char* what;
    std::function<void(InstallProcedure&)> arrange;
    const wchar_t* named;
  };
  const Case cases[] = {
      {"missing blob", [](InstallProcedure& t) { t.Line(L"Renovo.exe=0"); }, L"Renovoexe"},
      {"empty name", [](InstallProcedure& t) { t.Line(L""); }, L""},
      {"damaged record", [](InstallProcedure& t) { t.DamagedEntry(L"Renovo.exe"); }, L"Renovoexe"},
  };
  for (const auto& c : cases) {
    manifest.clear();
    fs.AddFile(dest + L"\\Renovo.exe", "old program");
    c.arrange(*this);
    Entry(L"after.dat", L"0", "x");
    try {
      Run();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const Error& e) {
      EXPECT_NE(UpperAscii(e.message()).find(UpperAscii(c.named)), std::wstring::npos)
          << c.what << ": " << e.message();
    }
    EXPECT_EQ(*fs.Text(dest + L"\\Renovo.exe"), "old program") << c.what;
    EXPECT_FALSE(fs.FileExists(dest + L"\\after.dat")) << c.what;
  }
}

TEST_P(InstallProcedure, ServerComponentsPrepareTheApplicationOnceAndRecordTheIdentity) {
  settings.com_user = L"admin";
  settings.com_password = std::wstring(60, L'p');  // encodes to more than 76 characters
  Entry(L"SvrA.dll", L"2", "a");
  Entry(L"plain.dll", L"0", "p");
  Entry(L"SvrB.dll", L"2", "b");
  Run();
  const std::vector<std::wstring> expected = {
      L"Shutdown VXKALDERServer",
      L"Remove VXKALDERServer",
      L"Create VXKALDERServer admin " + settings.com_password,
      L"AppProps VXKALDERServer",
      L"Install VXKALDERServer C:\\Dest\\SvrA.dll",
      L"ComponentProps VXKALDERServer",
      L"Shutdown VXKALDERServer",
      L"Install VXKALDERServer C:\\Dest\\SvrB.dll",
      L"ComponentProps VXKALDERServer",
      L"Shutdown VXKALDERServer",
  };
  EXPECT_EQ(catalogue.calls, expected);
  EXPECT_EQ(ReadRegString(registry, RootKey::LocalMachine, kProductKey, L"COMUser"), L"admin");
  const std::wstring pw = ReadRegString(registry, RootKey::LocalMachine, kProductKey, L"COMUserPW");
  EXPECT_EQ(pw.find(L"\r\n"), 76u);
  EXPECT_EQ(pw.substr(0, 8), L"cHBwcHBw");
}

TEST_P(InstallProcedure, ServerComponentFailuresStopTheRun) {
  struct Case {
    const char* what;
    std::function<void(InstallProcedure&)> arrange;
  };
  const Case cases[] = {
      {"catalogue", [](InstallProcedure& t) { t.catalogue.fail_at = L"Install"; }},
      {"machine hive", [](InstallProcedure& t) { t.registry.DenyWrites(RootKey::LocalMachine); }},
  };
  for (const auto& c : cases) {
    manifest.clear();
    catalogue = FakeComPlusCatalogue();
    registry = FakeRegistry();
    c.arrange(*this);
    Entry(L"Svr.dll", L"2", "a");
    Entry(L"after.dat", L"0", "x");
    EXPECT_THROW(Run(), Error) << c.what;
    fs.DeleteFile(dest + L"\\after.dat");
  }
}

TEST_P(InstallProcedure, DataFilesAfterTheWalk) {
  fs.AddFile(L"C:\\setup\\PInfo.dat", "pinfo bytes");
  fs.AddFile(L"C:\\setup\\Extra\\new.txt", "new");
  fs.AddFile(dest + L"\\Extra\\stale.txt", "stale");
  fs.AddFile(L"C:\\setup\\icons\\agent.ico", "agent icon");
  registry.SetString(RootKey::CurrentUser, kProductKey, L"ExcelAgentIcon", L"C:\\old.ico");
  settings.ex_file_dir = L"Extra";
  agent_icon = L"C:\\setup\\icons\\agent.ico";
  client_icon = L"C:\\setup\\gone.ico";
  Entry(L"a.dat", L"0", "a");
  Run();
  EXPECT_EQ(*fs.Text(dest + L"\\PInfo.dat"), "pinfo bytes");
  EXPECT_EQ(*fs.Text(dest + L"\\Extra\\new.txt"), "new");
  EXPECT_FALSE(fs.FileExists(dest + L"\\Extra\\stale.txt"));
  EXPECT_EQ(agent_icon, dest + L"\\agent.ico");
  EXPECT_EQ(*fs.Text(agent_icon), "agent icon");
  EXPECT_EQ(client_icon, dest + L"\\gone.ico") << "a vanished icon still names the copy";
  EXPECT_EQ(ReadUserRegString(registry, kProductKey, L"ExcelAgentIcon"), agent_icon);
}

TEST_P(InstallProcedure, ExtraFolderMustBeAPlainFolderBesideTheInstaller) {
  for (const wchar_t* name : {L"..", L"..\\setup", L"C:\\Dest", L"\\", L"a\\b", L". .", L"D:x"}) {
    fs.AddFile(dest + L"\\keep.txt", "keep");
    settings.ex_file_dir = name;
    manifest.clear();
    Entry(L"a.dat", L"0", "a");
    Run();
    EXPECT_TRUE(shell.folder_ops.empty()) << name;
    EXPECT_TRUE(fs.FileExists(dest + L"\\keep.txt")) << name;
  }
}

TEST_P(InstallProcedure, IconRowsNeverWriteOutsideTheIconFolder) {
  const Bytes icons = IconSet({{"..\\up.bmp", "x"},
                               {"C:\\abs.bmp", "x"},
                               {"sub\\deep.png", "x"},
                               {"..", "x"},
                               {"", "x"},
                               {"ok.png", "fine"}});
  Entry(L"glyphs.ico", L"0", std::string());
  resources.Add(kPayloadType, L"GLYPHSICO", WriteRecord(icons));
  Run();
  std::vector<std::wstring> icon_files;
  for (const auto& p : fs.ListAll()) {
    if (p.find(L"\\Icon\\") != std::wstring::npos && p.back() != L'\\') icon_files.push_back(p);
  }
  EXPECT_EQ(icon_files, std::vector<std::wstring>{dest + L"\\Icon\\ok.png"});
  EXPECT_FALSE(fs.FileExists(L"C:\\up.bmp"));
  EXPECT_FALSE(fs.FileExists(L"C:\\abs.bmp"));
}

TEST_P(InstallProcedure, EmptyIconSetCreatesNoFolderAndADamagedOneStopsTheRun) {
  Entry(L"glyphs.ico", L"0", std::string());
  resources.Add(kPayloadType, L"GLYPHSICO", WriteRecord(IconSet({})));
  Run();
  EXPECT_FALSE(fs.DirectoryExists(dest + L"\\Icon"));
  resources.Add(kPayloadType, L"GLYPHSICO", WriteRecord(B("not a packet")));
  EXPECT_THROW(RunInstallProcedure(dest, services, settings, progress), Error);
}

// Files committed in the background are in place before anything reads, starts or registers
// them or the files before them, and before the steps after the walk.
TEST_P(InstallProcedure, FilesAreInPlaceBeforeTheStepsThatUseThem) {
  fs.AddFile(L"C:\\setup\\PInfo.dat", "from the setup folder");
  Entry(L"a.dat", L"0", "a");
  Entry(L"modHook.dll", L"1", "hook");
  Entry(L"b.dat", L"0", "b");
  Entry(L"tabvo1.dll", L"0", "tabvo", 2);
  Entry(L"c.dat", L"0", "c");
  Entry(L"glyphs.ico", L"0", std::string());
  resources.Add(kPayloadType, L"GLYPHSICO", WriteRecord(IconSet({{"i.png", "icon"}})));
  Entry(L"d.dat", L"0", "d");
  Entry(L"SvrA.dll", L"2", "server");
  Entry(L"PInfo.dat", L"0", "from the payload");
  Entry(L"VXKalder.dll", L"0", "kalder");

  std::vector<std::wstring> seen;
  const auto look = [&](const std::wstring& step, std::vector<std::wstring> names) {
    for (const auto& name : names) {
      if (!fs.FileExists(dest + L"\\" + name)) seen.push_back(step + L" without " + name);
    }
  };
  shell.on_open = [&] {
    if (shell.opened.empty()) {
      look(L"registration", {L"a.dat", L"modHook.dll"});
    } else {
      look(L"last registration", {L"d.dat", L"VXKalder.dll", L"PInfo.dat"});
    }
  };
  settings.check_folder = [&](const std::wstring& folder) {
    look(L"tabvo check", {L"b.dat", L"tabvo1.dll"});
    return ForceDirectories(fs, folder);
  };
  Run();
  EXPECT_EQ(seen, std::vector<std::wstring>{});
  EXPECT_EQ(catalogue.calls.at(4), L"Install VXKALDERServer C:\\Dest\\SvrA.dll");
  EXPECT_EQ(*fs.Text(dest + L"\\PInfo.dat"), "from the setup folder")
      << "the product information copy comes after the entry of the same name";
  EXPECT_EQ(*fs.Text(dest + L"\\Icon\\i.png"), "icon");
  EXPECT_EQ(*fs.Text(dest + L"\\VXKalder.dll"), "kalder");
  EXPECT_EQ(shell.opened.size(), 2u);
  EXPECT_EQ(deferred.waiting(), 0u);
}

TEST_P(InstallProcedure, AnEntryNamedTwiceEndsWithTheLaterContent) {
  Entry(L"a.dat", L"0", "first");
  Line(L"A.DAT=0");
  resources.Add(kPayloadType, L"ADAT", WriteRecord(B("second")));
  Run();
  EXPECT_EQ(*fs.Text(dest + L"\\a.dat"), "second");
}

// A refused commit of an earlier file is the error the run ends with, even when a later entry
// fails too before that commit has run; the files after the refused one are not put in place.
TEST_P(InstallProcedure, TheEarliestFailureEndsTheRunAndLaterFilesStayOut) {
  struct Case {
    const char* later_failure;
    std::function<void(InstallProcedure&)> arrange;
  };
  const Case cases[] = {
      {"damaged record", [](InstallProcedure& t) { t.DamagedEntry(L"broken.dat"); }},
      {"missing blob", [](InstallProcedure& t) { t.Line(L"gone.dat=0"); }},
      {"refused write", [](InstallProcedure& t) { t.Entry(L"no folder\\x.dat", L"0", "x"); }},
  };
  for (const auto& c : cases) {
    manifest.clear();
    fs.AddFile(dest + L"\\held.dat", "running");
    fs.Lock(dest + L"\\held.dat");
    fs.AddFile(dest + L"\\after.dat", "old after");
    fs.DeleteFile(dest + L"\\first.dat");
    Entry(L"first.dat", L"0", "1");
    Entry(L"held.dat", L"0", "new");
    Entry(L"after.dat", L"0", "new after");
    c.arrange(*this);
    try {
      Run();
      ADD_FAILURE() << c.later_failure << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.message().rfind(kInUse + L"\r\n", 0), 0u)
          << c.later_failure << ": " << e.message();
      EXPECT_EQ(e.message().find(kInUse, 1), std::wstring::npos)
          << c.later_failure << ": " << e.message();
      EXPECT_NE(e.message().find(L"held.dat"), std::wstring::npos)
          << c.later_failure << ": " << e.message();
    }
    EXPECT_EQ(progress.numbers.back(), 2) << c.later_failure;
    EXPECT_EQ(progress.paths.back(), dest + L"\\held.dat") << c.later_failure;
    EXPECT_EQ(*fs.Text(dest + L"\\first.dat"), "1") << c.later_failure;
    EXPECT_EQ(*fs.Text(dest + L"\\held.dat"), "running") << c.later_failure;
    EXPECT_EQ(*fs.Text(dest + L"\\after.dat"), "old after") << c.later_failure;
    EXPECT_EQ(deferred.waiting(), 0u) << c.later_failure;
  }
}

// A disk with room for one file being written at a time: a write that meets the files still
// waiting for their commit is tried again once they are in place, as it would have found them.
class OneFileAtATime : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) override {
    if (open_ > 0) throw FileError(L"There is not enough space on the disk: " + path);
    return std::make_unique<Counted>(inner_.BeginReplace(path), open_);
  }

 private:
  class Counted : public ForwardingReplacement {
   public:
    Counted(std::unique_ptr<FileReplacement> inner, int& open)
        : ForwardingReplacement(std::move(inner)), open_(open) {
      ++open_;
    }
    ~Counted() override { --open_; }

   private:
    int& open_;
  };

  int open_ = 0;
};

TEST_P(InstallProcedure, AWriteBesideWaitingCommitsIsTriedAgainAfterThem) {
  OneFileAtATime tight(fs);
  services.files = &tight;
  Entry(L"a.dat", L"0", "a");
  Entry(L"b.dat", L"0", "b");
  Entry(L"c.dat", L"0", "c");
  Run();
  EXPECT_EQ(*fs.Text(dest + L"\\a.dat"), "a");
  EXPECT_EQ(*fs.Text(dest + L"\\b.dat"), "b");
  EXPECT_EQ(*fs.Text(dest + L"\\c.dat"), "c");
}

INSTANTIATE_TEST_SUITE_P(, InstallProcedure, ::testing::Values(Commits::AtOnce, Commits::Deferred),
                         [](const ::testing::TestParamInfo<Commits>& info) {
                           return info.param == Commits::AtOnce ? "AtOnce" : "Deferred";
                         });

}  // namespace
}  // namespace quillon
