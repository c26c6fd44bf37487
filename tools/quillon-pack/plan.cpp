#include "plan.h"

#include <map>

#include "app/installer_main.h"
#include "app/installer_env.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "formats/pe_resources.h"
#include "platform/fake/fake_application.h"
#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_complus.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_resources.h"
#include "platform/fake/fake_shell.h"
#include "tool_io.h"

namespace quillon::pack {

namespace fs = std::filesystem;

namespace {

const std::wstring kUserProfile = L"C:\\Users\\User";

std::string CodePageOf(const PlanOptions& o) {
  if (!o.code_page.empty()) return o.code_page;
  if (o.language == L"B") return "BIG5";
  if (o.language == L"C") return "CP1252";
  return "GBK";
}

// The files beside the installer, copied into the machine's folder of the installer (the
// installer itself is not needed there: its resources are read directly).
void CopyFolder(const fs::path& from, const std::wstring& to, const fs::path& skip,
                FakeFileSystem& files) {
  files.AddFolder(to);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(from, ec)) {
    const std::wstring name = FromUtf8(Utf8Of(entry.path().filename()));
    if (entry.is_directory()) {
      CopyFolder(entry.path(), to + L"\\" + name, skip, files);
    } else if (entry.is_regular_file() && !fs::equivalent(entry.path(), skip, ec)) {
      files.AddFile(to + L"\\" + name, ReadBytes(entry.path()));
    }
  }
}

std::map<std::wstring, uintmax_t> Sizes(FakeFileSystem& files) {
  std::map<std::wstring, uintmax_t> out;
  for (const auto& path : files.ListAll()) {
    if (!path.empty() && path.back() == L'\\') continue;
    if (auto bytes = files.Contents(path)) out[path] = bytes->size();
  }
  return out;
}

std::wstring ValueText(const FakeRegistry::Value& v) {
  switch (v.kind) {
    case RegValueKind::String:
      return v.text;
    case RegValueKind::Dword:
      return L"dword:" + IntToText(v.dword);
    default:
      return L"(binary)";
  }
}

std::wstring KindOf(MsgIcon icon, MsgButtons buttons) {
  if (buttons == MsgButtons::YesNo) return L"question";
  switch (icon) {
    case MsgIcon::Information:
      return L"information";
    case MsgIcon::Error:
      return L"error";
    default:
      return L"plain";
  }
}

// Presses through the wizard as a user taking every default: accepts the licence, answers
// Yes, lets the command-line timer fire, and presses Finish at the end. Stops where the
// wizard stays on its page (a refused folder, an install error).
void Drive(TfrmClientInstall& form, FakeApplication& app) {
  for (int step = 0; step < 32 && !form.closed() && !app.terminate_requested(); ++step) {
    if (form.Timer1->timer_enabled()) {
      app.HandleEvent([&form] { form.Timer1->Fire(); });
      continue;
    }
    const int page = form.pcMain->active_page_index();
    if (page == form.pcMain->page_count() - 1) {
      app.HandleEvent([&form] { form.btnOK->Click(); });
      continue;
    }
    if (form.radAgree->parent() == form.pcMain->active_page()) form.radAgree->Click();
    app.HandleEvent([&form] { form.btnNext->Click(); });
    if (!form.closed() && form.pcMain->active_page_index() == page) return;
  }
}

}  // namespace

InstallPlan MakePlan(const PlanOptions& o) {
  const Bytes image = ReadBytes(o.installer);
  FakeResources resources;
  for (const PeResource& r : ReadPeResources(image)) resources.Add(r.type, r.name, r.data);

  FakeCodePage code_page(CodePageOf(o));
  FakeFileSystem files;
  for (const std::wstring& drive : o.drives) files.AddDrive(drive);
  files.SetDrivesOnDemand(o.drives.empty());
  files.AddFolder(L"C:\\Windows\\System32");
  files.AddFolder(L"C:\\ProgramData");
  FakeShell shell(&files);
  shell.folders[SpecialFolder::System] = L"C:\\Windows\\System32";
  shell.folders[SpecialFolder::CommonAppData] = L"C:\\ProgramData";
  shell.folders[SpecialFolder::Desktop] = kUserProfile + L"\\Desktop";
  shell.folders[SpecialFolder::StartMenuPrograms] =
      kUserProfile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
  files.AddFolder(shell.folders[SpecialFolder::Desktop]);
  files.AddFolder(shell.folders[SpecialFolder::StartMenuPrograms]);

  const fs::path folder = o.folder.empty() ? fs::absolute(o.installer).parent_path() : o.folder;
  std::wstring base = FromUtf8(Utf8Of(fs::absolute(folder).filename()));
  if (base.empty()) base = L"setup";
  InstallPlan plan;
  plan.installer_folder = L"C:\\" + base;
  CopyFolder(folder, plan.installer_folder, o.installer, files);
  const std::map<std::wstring, uintmax_t> before = Sizes(files);

  FakeRegistry registry;
  if (!o.language.empty()) {
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", o.language);
  }
  FakeApplication app;
  FakeProcesses processes;
  FakeAutomation automation;  // a 32-bit Excel 2016
  automation.properties = {{L"Version", L"16.0"},
                           {L"ProductCode", L"{90160000-0011-0000-0000-0000000FF1CE}"}};
  FakeComPlusCatalogue complus;

  InstallerEnv env;
  env.app = &app;
  env.registry = &registry;
  env.files = &files;
  env.code_page = &code_page;
  env.resources = &resources;
  env.shell = &shell;
  env.processes = &processes;
  env.complus = &complus;
  env.automation = &automation;
  env.installer_dir = plan.installer_folder + L"\\";
  env.args = o.args;

  // Every box, shown or answered unseen (/VERYSILENT, /SUPPRESSMSGBOXES).
  std::vector<BoxRecord> boxes;
  app.SetBoxListener([&boxes](const BoxRecord& box) { boxes.push_back(box); });
  // The installer's own start, switches included; once the wizard is shown, a user who takes
  // every default drives it.
  app.after_show = [&app](ui::Form& form) { Drive(static_cast<TfrmClientInstall&>(form), app); };
  app.at_end = [&plan](ui::Form& f) {
    const auto& form = static_cast<TfrmClientInstall&>(f);
    plan.destination = form.sDestDir;
    plan.finished = form.install_complete() && form.closed();
  };
  plan.exit_code = RunInstaller(env);
  BindLanguageServices(nullptr, nullptr);

  plan.drives = files.Drives();
  plan.drives_stated = !o.drives.empty();
  // A clean machine: everything not there before was written by the install.
  for (const auto& [path, size] : Sizes(files)) {
    if (before.count(path) == 0) plan.files.push_back({path, size});
  }
  for (const auto& opened : shell.opened) {
    plan.commands.push_back(Trim(opened.file + L" " + opened.parameters));
  }
  for (const auto& started : processes.started) {
    plan.commands.push_back(Trim(started.program + L" " + started.parameters));
  }
  plan.complus = complus.calls;
  for (const auto& [file, link] : shell.links) {
    plan.shortcuts.push_back(
        {file, link.target, link.arguments, link.working_folder, link.icon_path});
  }
  const std::pair<RootKey, const wchar_t*> hives[] = {
      {RootKey::CurrentUser, L"HKEY_CURRENT_USER"},
      {RootKey::LocalMachine, L"HKEY_LOCAL_MACHINE (32-bit view)"},
      {RootKey::LocalMachine64, L"HKEY_LOCAL_MACHINE"},
  };
  for (const auto& [root, hive] : hives) {
    for (const auto& e : registry.All(root)) {
      plan.registry.push_back({hive, e.path, e.name, ValueText(e.value)});
    }
  }
  for (const auto& box : boxes) {
    plan.messages.push_back({box.caption, box.text, KindOf(box.icon, box.buttons)});
  }
  return plan;
}

}  // namespace quillon::pack
