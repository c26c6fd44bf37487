#include "app/unClientInstall.h"

#include "app/destination_folder.h"
#include "app/licence_texts.h"
#include "app/unMsgDialog.h"
#include "app/wizard_captions.h"
#include "app/wizard_headings.h"
#include "base/error.h"
#include "base/text.h"
#include "config/product_info.h"
#include "config/setup_config.h"
#include "config/unReg_File.h"
#include "deploy/unFileAndDir.h"
#include "server/unSetIE.h"

namespace quillon {

TfrmClientInstall::TfrmClientInstall(InstallerEnv& env)
    : TfrmFormBase(env, L"frmClientInstall"), role_(env.args) {
  BuildControls();
}

void TfrmClientInstall::ApplyCaptions(int column) {
  for (size_t i = 0; i < WizardCaptionCount(); ++i) {
    const WizardCaption& row = WizardCaptions()[i];
    ui::Control* control = row.control == std::wstring(kWizardFormName) ? this : Find(row.control);
    if (control) control->SetCaption(CaptionText(row, column));
  }
  dir_hint_unfilled_ = true;
  finish_hint_unfilled_ = true;
}

void TfrmClientInstall::FormCreate() {
  TfrmFormBase::FormCreate();
  LoadProductInfo();

  // The application title names the product in the language of the start.
  std::wstring name = LangText(L" Quillon客户端 ", L" Quillon用戶端 ", L" Quillon Client ");
  if (!OEMMsg.empty()) name = ReplaceFirst(name, L"Quillon", OEMMsg);
  env_.app->SetTitle(Trim(name) + LangText(L"安装程序", L"安裝程式", L" Setup"));

  const std::wstring stored = ReadStoredLangCode();
  if (!stored.empty() && stored != L"A") {
    comboLang->SetItemIndex(ItemOfLangCode(stored));
    comboLangChange();
  }
}

void TfrmClientInstall::FormShow() {
  TfrmFormBase::FormShow();
  ExFileDir.clear();
  RefreshProductName();

  pcMain->HideAllTabs();
  pcMain->SetActivePageIndex(0);
  pcMainChange();

  const std::wstring previous = ReadUserRegString(*env_.registry, kProductKey, L"CLIENTPart");
  rabInstall->SetVisible(!previous.empty() && sLoginIPForShortCut.empty() &&
                         sLoginDBForShortCut.empty());
  if (rabInstall->visible()) {
    edDir->SetText(previous);
  } else {
    edDir->SetText(edDir->text() + L"\\CLIENT");
  }
  ApplyDestinationSwitch(rabInstall->visible(), config_found_);
  labCopyFile->SetCaption(L"");

  if (role_.IsWEB() || role_.IsWEB_CLIENT()) {
    pcMain->SetActivePage(tabCOM);
    Timer1->SetTimerEnabled(true);
  } else if (role_.IsCLIENT()) {
    if (!CheckExcel()) {
      EndAfterFailedExcelCheck();
      return;
    }
    pcMain->SetActivePage(tabDir);
    Timer1->SetTimerEnabled(true);
  }

  // With a launch role the command-line timer drives the run into the folder the command line
  // names; pressing Next here as well would install into the configured one first.
  if (bSilenceInstall && !Timer1->timer_enabled()) {
    // /SILENT shows the pages and the progress as they go by.
    if (env_.switches.silent && !env_.switches.very_silent && !env_.app->windows_hidden()) {
      SetVisible(true);
    }
    btnNext->Click();
    if (closed()) return;
    radAgree->SetChecked(true);
    btnNext->Click();
    if (closed()) return;
    btnNext->Click();
    if (closed()) return;
  }

  if (bAutoSetIE) {
    // The certificate batch file is the one its distributor put beside the installer: run by
    // its full path, never looked up in the current folder or the search path.
    RunAndWait(
        *env_.processes, [this] { env_.app->ProcessMessages(); },
        env_.installer_dir + L"安装证书.bat", L"", ShowMode::Hide);
    RunBrowserAccessTool();
  }

  // An unattended run that is neither over nor waiting for the command-line timer would wait
  // for nobody.
  if (env_.switches.unattended() && !closed() && !Timer1->timer_enabled()) {
    EndUnattended(exit_code(),
                  L"the unattended run stopped on page " + IntToText(pcMain->active_page_index()));
  }
}

void TfrmClientInstall::Timer1Timer() {
  Timer1->SetTimerEnabled(false);
  // /DIR= stands for the folder as typed (only a role without a base folder may take it).
  const SetupSwitches& s = env_.switches;
  edDir->SetText(s.dir ? *s.dir : role_.BaseFolder() + L"\\CLIENT");
  Log(L"destination " + edDir->text() +
      (s.dir ? L": given by /DIR=" : L": the launch role's base folder and \\CLIENT"));
  const bool accepted = CheckDestDir(*env_.files, edDir->text(), false);
  sDestDir = Trim(edDir->text());
  if (accepted) {
    accepted_dest_ = sDestDir;
    dest_accepted_ = true;
  } else if (NobodyThere()) {
    EndUnattended(kExitDestinationRefused, L"destination refused: " + edDir->text());
  }
  SetTopMost(true);
  if (!env_.app->windows_hidden()) SetVisible(true);
  // From the middle-server page Next would install at once: a refused folder stops here and
  // the wizard waits. From the destination page Next checks the box again and stays.
  if (!accepted && !role_.IsCLIENT()) return;
  btnNext->Click();
}

void TfrmClientInstall::btnCancelClick() {
  // A Next action waiting on a child program serves the window meanwhile: the form is not
  // taken away under it, the Cancel takes effect once the action has returned.
  if (actions_running_ > 0) {
    cancel_pending_ = true;
    return;
  }
  cancel_pending_ = false;
  if (closed()) return;
  TfrmFormBase::btnCancelClick();
  bCanClose = true;
  Close();
}

void TfrmClientInstall::ExitForMissingFile(const std::wstring& detail) {
  exit_code_ = kExitRefused;
  ShowHintMsg(L"缺少文件，程序结束运行！\r\n" + detail, L"", L"",
              LangText(L"提示", L"提示", L"Hint"), true);
  throw ProgramEnd{};
}

int TfrmClientInstall::exit_code() const {
  if (exit_code_ >= 0) return exit_code_;
  return install_failed_ && !install_complete_ ? kExitInstallFailed : kExitCancelled;
}

void TfrmClientInstall::EndAfterFailedExcelCheck() {
  exit_code_ = kExitRefused;
  bCanClose = true;
  Close();
}

// The steps below are filled in by the parts of the installer they belong to.
void TfrmClientInstall::SetLangCaption() {
  TfrmFormBase::SetLangCaption();
  const int column = LangFlagColumn();
  if (column == 0 || column == 1) {
    SetFont(ui::Font{L"宋体", 9});
    labMain->SetFontName(font().name);
    Label1->SetFontName(font().name);
  } else if (column == 2) {
    SetFont(ui::Font{L"Tahoma", 8});
    labMain->SetFontName(L"Tahoma");
    Label1->SetFontName(font().name);
    Label6->SetFontName(font().name);
  }
  if (column >= 0) ApplyCaptions(column);
  if (column == 2) {
    Label11->SetLeft(105);
    Label12->SetLeft(105);
  }
  LoadLicenceText();
}

void TfrmClientInstall::comboLangChange() {
  const std::wstring code = LangCodeOfItem(comboLang->item_index());
  WriteUserRegString(*env_.registry, kProductKey, L"CurLang", code);
  InvalidateLanguage();
  GetCurLang();
  SetLangCaption();
  pcMainChange();
  RefreshProductName();
}

void TfrmClientInstall::RefreshProductName() {
  ReadSetupConfig();
  std::wstring name = LangText(L" Quillon客户端 ", L" Quillon用戶端 ", L" Quillon Client ");
  if (!OEMMsg.empty()) name = ReplaceFirst(name, L"Quillon", OEMMsg);
  if (role_.IsWEB()) {
    name = ReplaceFirst(name, L"网络服务器", L"");
  } else if (role_.IsCLIENT()) {
    name = ReplaceFirst(name, L"客户端", L"");
  }
  sClientName_Ribbon = ReplaceFirst(name, L"客户端", L"");
  if (sLangFlag != L"A") name = ReplaceFirst(name, L"服务器", L"伺服器");
  // Each hint is filled once after its format text was put in place: filling an already
  // filled caption again would treat a "%s" or "%%" inside the product name as a format.
  if (dir_hint_unfilled_) {
    labDirHint->SetCaption(FormatS(labDirHint->caption(), name));
    dir_hint_unfilled_ = false;
  }
  if (finish_hint_unfilled_) {
    labFinishHint->SetCaption(FormatS(labFinishHint->caption(), name));
    finish_hint_unfilled_ = false;
  }
}
void TfrmClientInstall::ReadSetupConfig() {
  // A run nobody attends is silent mode, whatever the configuration says.
  struct ForceSilent {
    TfrmClientInstall& form;
    ~ForceSilent() {
      if (form.env_.switches.unattended()) form.bSilenceInstall = true;
    }
  } force_silent{*this};
  const bool plain = env_.files->FileExists(env_.installer_dir + L"SysSetup.ini");
  const std::optional<std::wstring> text =
      LoadSetupConfigText(*env_.files, *env_.code_page, env_.installer_dir);
  config_found_ = text.has_value();
  if (!text) {
    Log(L"configuration: no SysSetup.ini or SysSetup2.ini beside the installer");
    return;
  }
  if (env_.log) {
    Log(L"configuration: " + env_.installer_dir + (plain ? L"SysSetup.ini" : L"SysSetup2.ini"));
    for (const std::wstring& line : SplitLines(*text)) {
      if (!Trim(line).empty()) Log(L"configuration line: " + Trim(line));
    }
  }
  const SetupConfig c = ParseSetupConfig(*text, *env_.files, env_.installer_dir);
  edDir->SetText(c.default_path);
  if (!c.import_data_hint.empty()) chkDemoData->SetCaption(c.import_data_hint);
  if (!c.default_db.empty()) edDBName->SetText(c.default_db);
  ExFileDir = c.extra_dir;
  sLoginIPForShortCut = c.login_ip;
  sLoginDBForShortCut = c.login_db;
  bNoDisplayLoginIP = c.no_display_login_ip;
  bNoDisplayLoginDB = c.no_display_login_db;
  bNoLoginMenu = c.no_login_menu;
  sLoginMenuCaption = c.login_menu_caption;
  bNoExcelClient = c.no_excel_client;
  bNoExcelAgent = c.no_excel_agent;
  bSilenceInstall = c.silence_install;
  bAutoSetIE = c.auto_set_ie;
  IPForSetIE = c.ip_for_set_ie;
  PortForSetIE = c.port_for_set_ie;
  bCreateShortCutForIE = c.create_shortcut_for_ie;
  if (c.shortcut_name_for_ie) ShortCutNameForIE = *c.shortcut_name_for_ie;
  sIconPath_Client = c.icon_path_client;
  sIconPath_Agent = c.icon_path_agent;
  sCaption_Client = c.caption_client;
  sCaption_Agent = c.caption_agent;
  StoreAlignToCenter(*env_.registry, c.align_to_center);
}

void TfrmClientInstall::SaveLastUpdateTime() {
  SaveUpdateStamp(*env_.registry, *env_.files, *env_.code_page, sDestDir);
}
void TfrmClientInstall::LoadProductInfo() {
  OEMMsg.clear();
  const std::wstring path = env_.installer_dir + kProductInfoName;
  if (!env_.files->FileExists(path)) ExitForMissingFile(std::wstring());
  // Each field acts as soon as it is read: what came before a failure stays.
  try {
    const datasnap::Packet packet = ReadProductInfoPacket(*env_.files, path);
    auto field = [&](const std::wstring& name) {
      return packet.FirstRecordText(name, *env_.code_page);
    };
    OEMMsg = field(kProductNameField);
    OEMMsg2 = field(kAgentNameField);
    SymbolLine1->SetCaption(field(kSymbolCaptionField));
    const std::wstring maker_short = field(kMakerShortField);
    Memo1->SetText(
        ReplaceAll(Memo1->text(), LangText(kMakerShortA, kMakerShortB, kMakerShortC), maker_short));
    const std::wstring maker_full = field(kMakerFullField);
    Memo1->SetText(
        ReplaceFirst(Memo1->text(), LangText(kMakerFullA, kMakerFullB, kMakerShortC), maker_full));
  } catch (const Error& e) {
    ExitForMissingFile(e.message());
  } catch (const std::exception& e) {
    ExitForMissingFile(FromUtf8(e.what()));
  }
}
void TfrmClientInstall::LoadLicenceText() {
  const int column = LangFlagColumn();
  if (column >= 0) Memo1->SetText(LicenceText(column));
  LoadProductInfo();
}

void TfrmClientInstall::RunBrowserAccessTool() {
  TForm1 tool({env_.app, env_.files, env_.code_page, env_.shell, env_.installer_dir});
  tool.FormCreate();
  tool.edIP->SetText(IPForSetIE);
  tool.chkIE->SetChecked(bCreateShortCutForIE);
  tool.edIE->SetText(ShortCutNameForIE);
  tool.edPort->SetText(PortForSetIE);
  tool.Button1->Click();
}

}  // namespace quillon
