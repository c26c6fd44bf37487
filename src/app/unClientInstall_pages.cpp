// The wizard's page machine: the button update, the page-change update, Next with its page
// rules and the install sequence, Back, Finish, and the small handlers of the pages.
#include <functional>

#include "app/destination_folder.h"
#include "app/setup_log.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "app/wizard_headings.h"
#include "base/error.h"
#include "base/text.h"
#include "config/shortcuts.h"
#include "config/unReg_File.h"
#include "deploy/unFileAndDir.h"

namespace quillon {

namespace {

enum Page {
  kWelcome = 0,
  kLicence = 1,
  kDestination = 2,
  kAdministrator = 3,
  kDatabase = 4,
  kMiddleServer = 5,
  kInstalling = 6,
  kFinished = 7,
};

bool Blank(const std::wstring& text) {
  return Trim(text).empty();
}

// The licence file's path: the first doubled backslash (a base folder given with its own
// trailing backslash) is reduced to one.
std::wstring LicencePath(const std::wstring& dest) {
  return ReplaceFirst(dest + L"\\License.txt", L"\\\\", L"\\");
}

}  // namespace

void TfrmClientInstall::DoIdle() {
  const int index = pcMain->active_page_index();
  const int last = pcMain->page_count() - 1;
  btnOK->SetEnabled(index == last);
  btnPrior->SetEnabled(index != kWelcome);
  bool next = index != last;
  if (index == kLicence) next = next && radAgree->checked();
  if (index == kDestination) next = next && !Blank(edDir->text());
  if (index == kMiddleServer) next = next && !Blank(edCOMIP->text());
  btnNext->SetEnabled(next);
}

void TfrmClientInstall::pcMainChange() {
  const int index = pcMain->active_page_index();
  PageHeadings headings;
  if (HeadingsOfPage(index, OEMMsg, sLangFlag, &headings)) {
    labMain->SetCaption(headings.main);
    labDetail->SetCaption(headings.detail);
  }
  btnOK->SetVisible(index == pcMain->page_count() - 1);
  btnNext->SetVisible(!btnOK->visible());
  btnCancel->SetVisible(btnNext->visible());
  btnPrior->SetVisible(btnNext->visible());
  // The new page is painted before the action that moved to it goes on.
  env_.app->ProcessMessages();
}

void TfrmClientInstall::GoToPage(int index) {
  pcMain->SetActivePageIndex(index);
  pcMainChange();
}

void TfrmClientInstall::btnNextClick() {
  ++actions_running_;
  try {
    NextAction();
  } catch (...) {
    --actions_running_;
    if (actions_running_ == 0 && cancel_pending_) btnCancelClick();
    throw;
  }
  --actions_running_;
  if (actions_running_ == 0 && cancel_pending_) btnCancelClick();
}

void TfrmClientInstall::NextAction() {
  btnNext->SetEnabled(false);
  const int index = pcMain->active_page_index();
  // Next pressed by program code on the last page: the page index stays within the pages.
  if (index < 0 || index >= pcMain->page_count() - 1) return;

  if (index == kWelcome) {
    if (!CheckExcel()) {
      EndAfterFailedExcelCheck();
      return;
    }
  } else if (index == kDestination) {
    if (!TakeDestination()) return;
  } else if (index == kMiddleServer) {
    // The middle-server page installs at once: only into a folder the check has accepted in
    // this run; otherwise the check runs (and shows its message) again.
    if (!dest_accepted_ || accepted_dest_ != sDestDir) {
      if (!CheckDestDir(*env_.files, sDestDir, false)) {
        if (NobodyThere())
          EndUnattended(kExitDestinationRefused, L"destination refused: " + sDestDir);
        return;
      }
      accepted_dest_ = sDestDir;
      dest_accepted_ = true;
    }
  } else if (index == kInstalling) {
    // Only a failed sequence leaves the wizard here: Next runs it again, so that Finished
    // is reached only after an install that went through to its end.
    RunInstallSequence();
    return;
  }

  int next = index + 1;
  if (next == kAdministrator) next = kInstalling;
  GoToPage(next);
  if (pcMain->active_page_index() == kInstalling) RunInstallSequence();
}

bool TfrmClientInstall::TakeDestination() {
  sDestDir = edDir->text();
  if (!sDestDir.empty() && sDestDir.back() == L'\\') {
    sDestDir.pop_back();
    edDir->SetText(sDestDir);
  }
  if (role_.IsCOM()) sDestDir += L"\\COM+";
  if (!CheckDestDir(*env_.files, sDestDir, !bSilenceInstall)) {
    if (NobodyThere()) EndUnattended(kExitDestinationRefused, L"destination refused: " + sDestDir);
    return false;
  }
  Log(L"destination accepted: " + sDestDir);
  accepted_dest_ = sDestDir;
  dest_accepted_ = true;
  return true;
}

void TfrmClientInstall::RunInstallSequence() {
  install_complete_ = false;
  try {
    StopProcessByName(*env_.processes, L"VXKALDERAGENT.EXE");
  } catch (...) {
    // A running agent that cannot be looked at or ended does not stop the install.
  }
  // A Cancel pressed while a step served the window ends the sequence once that step has
  // returned; nothing of what was written is taken back.
  const std::pair<const wchar_t*, std::function<void()>> steps[] = {
      {L"install procedure", [this] { InstallFiles(sDestDir); }},
      {L"clear Excel's disabled items", [this] { ClearExcelDisabledItems(); }},
      {L"register the Excel add-in", [this] { RegisterExcelXlaAddIn(sDestDir); }},
      {L"register the Excel COM add-in", [this] { RegisterExcelComAddIn(sClientName_Ribbon); }},
      {L"shortcuts", [this] { CreateShortcuts(); }},
      {L"update stamp", [this] { SaveLastUpdateTime(); }},
  };
  Log(L"install sequence into " + sDestDir);
  const wchar_t* current = L"";
  uint64_t started = 0;
  try {
    for (const auto& [name, step] : steps) {
      if (cancel_pending_) return;
      current = name;
      Log(std::wstring(L"step started: ") + name);
      if (env_.log) started = env_.log->Milliseconds();
      step();
      if (env_.log) {
        Log(std::wstring(L"step done: ") + name + L", " +
            IntToText(static_cast<long long>(env_.log->Milliseconds() - started)) + L" ms");
      }
    }
  } catch (const Error& e) {
    install_failed_ = true;
    Log(std::wstring(L"step failed: ") + current + L": " + e.message());
    throw;
  } catch (...) {
    install_failed_ = true;
    Log(std::wstring(L"step failed: ") + current);
    throw;
  }
  if (cancel_pending_) return;
  install_complete_ = true;

  const bool hide_and_finish = role_.IsCOM() || role_.IsWEB_CLIENT();
  if (hide_and_finish) SetVisible(false);
  GoToPage(kFinished);
  env_.app->Beep();
  // An unattended run ends by itself: Finish is pressed for it.
  if (hide_and_finish || env_.switches.unattended()) btnOK->Click();
}

void TfrmClientInstall::btnPriorClick() {
  int index = pcMain->active_page_index() - 1;
  if (index < kWelcome) return;
  if (index == kMiddleServer || index == kDatabase) index = kDestination;
  GoToPage(index);
}

void TfrmClientInstall::btnOKClick() {
  TfrmFormBase::btnOKClick();
  bCanClose = true;
  // What Finish records describes an installed client: nothing is recorded before an install
  // sequence of this run has gone through to its end.
  if (install_complete_) {
    WriteUserRegString(*env_.registry, kProductKey, L"CLIENTPart", sDestDir);
    if (role_.IsCOM() || role_.IsWEB_CLIENT()) {
      WriteRegString(*env_.registry, RootKey::LocalMachine, kProductKey, L"ALLSetup", L"1");
    }
    const std::string text = env_.code_page->ToAnsi(JoinLinesCrLf(Memo1->lines()));
    env_.files->WriteFile(LicencePath(sDestDir), Bytes(text.begin(), text.end()));
    WriteUserRegString(*env_.registry, kProductKey, L"OnlyRunInIE", bNoLoginMenu ? L"1" : L"0");
    WriteUserRegString(*env_.registry, kProductKey, L"LoginMenuCaption", sLoginMenuCaption);
    exit_code_ = kExitInstalled;
    Log(L"Finish: the install is recorded");
  }
  Close();
}

void TfrmClientInstall::rabInstallClick() {
  const bool install = rabInstall->checked();
  const std::wstring from = install ? L"删除" : L"安装";
  const std::wstring to = install ? L"安装" : L"删除";
  for (ui::Label* label : {labMain, labDetail, labFirstHint1, labFirstHint2}) {
    label->SetCaption(ReplaceAll(label->caption(), from, to));
  }
  SetCaption(install ? L"程序安装" : L"程序删除");
}

void TfrmClientInstall::chkbDataFilePathClick() {
  edDataFilePath->SetEnabled(chkbDataFilePath->checked());
  labDataFilePath->SetEnabled(edDataFilePath->enabled());
}

void TfrmClientInstall::Button1Click() {
  std::wstring folder;
  if (env_.app->SelectFolder(LangText(L"请选择", L"請選擇", L"Please select"), &folder)) {
    edDir->SetText(folder);
  }
}

void TfrmClientInstall::CreateShortcuts() {
  ShortcutSettings s;
  s.dest = sDestDir;
  s.oem_name = OEMMsg;
  s.oem_agent_name = OEMMsg2;
  s.caption_client = sCaption_Client;
  s.caption_agent = sCaption_Agent;
  s.icon_client = sIconPath_Client;
  s.icon_agent = sIconPath_Agent;
  s.login_ip = sLoginIPForShortCut;
  s.login_db = sLoginDBForShortCut;
  s.no_display_login_ip = bNoDisplayLoginIP;
  s.no_display_login_db = bNoDisplayLoginDB;
  s.no_client = bNoExcelClient;
  s.no_agent = bNoExcelAgent;
  quillon::CreateShortcuts(s, *env_.shell, *env_.files, *env_.registry);
}

}  // namespace quillon
