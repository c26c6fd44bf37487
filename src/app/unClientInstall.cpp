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

namespace quillon {

namespace {

template <class T>
T* Place(T* control, int left, int top, int width, int height) {
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace

TfrmClientInstall::TfrmClientInstall(InstallerEnv& env)
    : TfrmFormBase(env, L"frmClientInstall"), role_(env.args) {
  BuildControls();
}

// Design-time layout (96-DPI pixels) and the language-A captions the form starts with.
void TfrmClientInstall::BuildControls() {
  SetBounds(0, 0, 503, 392);
  SetFont(ui::Font{L"宋体", 9});

  pnlTop = Place(Add<ui::Panel>(this, L"pnlTop"), 0, 0, 503, 58);
  pnlTop->banner = true;
  labMain = Place(Add<ui::Label>(pnlTop, L"labMain"), 20, 10, 460, 16);
  labMain->SetFont(ui::Font{L"宋体", 10});
  labDetail = Place(Add<ui::Label>(pnlTop, L"labDetail"), 36, 32, 450, 16);

  pcMain = Place(Add<ui::PageControl>(this, L"pcMain"), 0, 60, 503, 258);
  auto page = [this](const wchar_t* name) {
    auto* sheet = Add<ui::TabSheet>(pcMain, name);
    sheet->SetBounds(0, 0, 503, 258);
    pcMain->AddPage(sheet);
    return sheet;
  };
  tabFirst = page(L"tabFirst");
  tabAgree = page(L"tabAgree");
  tabDir = page(L"tabDir");
  tabIdentity = page(L"tabIdentity");
  tabDB = page(L"tabDB");
  tabCOM = page(L"tabCOM");
  tabInstall = page(L"tabInstall");
  tabFinished = page(L"tabFinished");

  labFirstHint1 = Place(Add<ui::Label>(tabFirst, L"labFirstHint1"), 24, 24, 450, 36);
  labFirstHint2 = Place(Add<ui::Label>(tabFirst, L"labFirstHint2"), 24, 76, 450, 16);
  rabInstall = Place(Add<ui::RadioButton>(tabFirst, L"rabInstall"), 24, 120, 200, 20);
  rabInstall->SetChecked(true);
  rabInstall->SetVisible(false);

  Label1 = Place(Add<ui::Label>(tabAgree, L"Label1"), 16, 8, 470, 16);
  Memo1 = Place(Add<ui::Memo>(tabAgree, L"Memo1"), 16, 28, 470, 168);
  radAgree = Place(Add<ui::RadioButton>(tabAgree, L"radAgree"), 16, 204, 300, 18);
  radNoAgree = Place(Add<ui::RadioButton>(tabAgree, L"radNoAgree"), 16, 226, 300, 18);
  radNoAgree->SetChecked(true);

  labDirHint = Place(Add<ui::Label>(tabDir, L"labDirHint"), 24, 24, 450, 16);
  edDir = Place(Add<ui::Edit>(tabDir, L"edDir"), 24, 52, 360, 22);
  edDir->SetText(L"C:\\Tovrin");
  Button1 = Place(Add<ui::Button>(tabDir, L"Button1"), 396, 50, 80, 25);
  Label5 = Place(Add<ui::Label>(tabDir, L"Label5"), 24, 96, 450, 36);

  Label13 = Place(Add<ui::Label>(tabIdentity, L"Label13"), 24, 16, 450, 16);
  Label11 = Place(Add<ui::Label>(tabIdentity, L"Label11"), 80, 50, 80, 16);
  edCOMUser = Place(Add<ui::Edit>(tabIdentity, L"edCOMUser"), 170, 46, 200, 22);
  Label12 = Place(Add<ui::Label>(tabIdentity, L"Label12"), 80, 82, 80, 16);
  edCOMUserPW = Place(Add<ui::Edit>(tabIdentity, L"edCOMUserPW"), 170, 78, 200, 22);
  edCOMUserPW->password = true;
  Label14 = Place(Add<ui::Label>(tabIdentity, L"Label14"), 24, 130, 450, 16);
  Label15 = Place(Add<ui::Label>(tabIdentity, L"Label15"), 24, 150, 450, 16);
  Label16 = Place(Add<ui::Label>(tabIdentity, L"Label16"), 24, 170, 450, 16);

  Label9 = Place(Add<ui::Label>(tabDB, L"Label9"), 24, 10, 450, 16);
  Label4 = Place(Add<ui::Label>(tabDB, L"Label4"), 40, 40, 110, 16);
  edDBSvr = Place(Add<ui::Edit>(tabDB, L"edDBSvr"), 160, 36, 200, 22);
  Label7 = Place(Add<ui::Label>(tabDB, L"Label7"), 40, 68, 110, 16);
  edDBUser = Place(Add<ui::Edit>(tabDB, L"edDBUser"), 160, 64, 200, 22);
  Label8 = Place(Add<ui::Label>(tabDB, L"Label8"), 40, 96, 110, 16);
  edDBUserPW = Place(Add<ui::Edit>(tabDB, L"edDBUserPW"), 160, 92, 200, 22);
  edDBUserPW->password = true;
  Label10 = Place(Add<ui::Label>(tabDB, L"Label10"), 40, 124, 110, 16);
  edDBName = Place(Add<ui::Edit>(tabDB, L"edDBName"), 160, 120, 200, 22);
  chkbDataFilePath = Place(Add<ui::CheckBox>(tabDB, L"chkbDataFilePath"), 24, 152, 220, 18);
  edDataFilePath = Place(Add<ui::Edit>(tabDB, L"edDataFilePath"), 250, 150, 220, 22);
  edDataFilePath->SetEnabled(false);
  labDataFilePath = Place(Add<ui::Label>(tabDB, L"labDataFilePath"), 250, 176, 220, 16);
  labDataFilePath->SetEnabled(false);
  chkDemoData = Place(Add<ui::CheckBox>(tabDB, L"chkDemoData"), 24, 200, 220, 18);
  pnlDB = Place(Add<ui::Panel>(tabDB, L"pnlDB"), 300, 200, 180, 24);

  Label2 = Place(Add<ui::Label>(tabCOM, L"Label2"), 24, 40, 450, 16);
  edCOMIP = Place(Add<ui::Edit>(tabCOM, L"edCOMIP"), 24, 66, 200, 22);

  labInstall = Place(Add<ui::Label>(tabInstall, L"labInstall"), 24, 30, 450, 16);
  labCopyFile = Place(Add<ui::Label>(tabInstall, L"labCopyFile"), 24, 60, 450, 16);
  pb = Place(Add<ui::ProgressBar>(tabInstall, L"pb"), 24, 90, 450, 20);

  Label6 = Place(Add<ui::Label>(tabFinished, L"Label6"), 24, 30, 450, 18);
  labFinishHint = Place(Add<ui::Label>(tabFinished, L"labFinishHint"), 24, 64, 450, 16);
  Label3 = Place(Add<ui::Label>(tabFinished, L"Label3"), 24, 96, 450, 16);

  SymbolLine1->SetBounds(10, 322, 473, 16);
  comboLang = Place(Add<ui::ComboBox>(this, L"comboLang"), 12, 352, 130, 22);
  comboLang->SetItems({L"简体中文", L"繁體中文", L"English"});
  comboLang->SetItemIndex(0);
  comboLang->on_change = [this] { comboLangChange(); };

  btnPrior = Place(Add<ui::Button>(this, L"btnPrior"), 238, 350, 80, 25);
  btnPrior->on_click = [this] {};
  btnNext = Place(Add<ui::Button>(this, L"btnNext"), 322, 350, 80, 25);
  btnNext->on_click = [this] { btnNextClick(); };
  btnOK->SetBounds(322, 350, 80, 25);
  btnOK->SetVisible(false);
  btnCancel->SetBounds(412, 350, 80, 25);

  Timer1 = Add<ui::Timer>(this, L"Timer1");
  Timer1->interval_ms = 500;
  Timer1->on_timer = [this] { Timer1Timer(); };

  // The form starts in language A: its captions and licence agreement.
  ApplyCaptions(0);
  Memo1->SetText(LicenceText(0));
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

  if (bSilenceInstall) {
    btnNext->Click();
    if (closed()) return;
    radAgree->SetChecked(true);
    btnNext->Click();
    if (closed()) return;
    btnNext->Click();
    if (closed()) return;
  }

  if (bAutoSetIE) {
    // The certificate batch file is named without a folder: the platform looks it up.
    RunAndWait(*env_.processes, [this] { env_.app->ProcessMessages(); }, L"安装证书.bat", L"",
               ShowMode::Hide);
    RunBrowserAccessTool();
  }
}

void TfrmClientInstall::Timer1Timer() {
  edDir->SetText(role_.BaseFolder() + L"\\CLIENT");
  CheckDestDir(*env_.files, edDir->text(), false);
  sDestDir = Trim(edDir->text());
  Timer1->SetTimerEnabled(false);
  SetTopMost(true);
  SetVisible(true);
  btnNext->Click();
}

void TfrmClientInstall::btnCancelClick() {
  TfrmFormBase::btnCancelClick();
  bCanClose = true;
  Close();
}

void TfrmClientInstall::ExitForMissingFile(const std::wstring& detail) {
  ShowHintMsg(L"缺少文件，程序结束运行！\r\n" + detail, L"", L"",
              LangText(L"提示", L"提示", L"Hint"), true);
  throw ProgramEnd{};
}

void TfrmClientInstall::EndAfterFailedExcelCheck() {
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
  const std::optional<std::wstring> text =
      LoadSetupConfigText(*env_.files, *env_.code_page, env_.installer_dir);
  if (!text) return;
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

void TfrmClientInstall::pcMainChange() {
  PageHeadings headings;
  if (HeadingsOfPage(pcMain->active_page_index(), OEMMsg, sLangFlag, &headings)) {
    labMain->SetCaption(headings.main);
    labDetail->SetCaption(headings.detail);
  }
}
void TfrmClientInstall::DoIdle() {}
void TfrmClientInstall::RunBrowserAccessTool() {}
void TfrmClientInstall::btnNextClick() {}
bool TfrmClientInstall::CheckExcel() { return true; }

}  // namespace quillon
