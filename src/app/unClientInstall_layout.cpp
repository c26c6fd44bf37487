// The wizard form's design-time layout: its controls, their places and sizes in 96-DPI pixels,
// and the language-A captions and licence text the form starts with.
#include "app/licence_texts.h"
#include "app/unClientInstall.h"

namespace quillon {

namespace {

template <class T>
T* Place(T* control, int left, int top, int width, int height) {
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace

// Design-time layout (96-DPI pixels) and the language-A captions the form starts with.
void TfrmClientInstall::BuildControls() {
  SetBounds(0, 0, 503, 392);
  SetFont(ui::Font{L"宋体", 9});

  pnlTop = Place(Add<ui::Panel>(this, L"pnlTop"), 0, 0, 503, 58);
  pnlTop->banner = true;
  labMain = Place(Add<ui::Label>(pnlTop, L"labMain"), 20, 9, 460, 19);
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
  rabInstall->on_click = [this] { rabInstallClick(); };

  Label1 = Place(Add<ui::Label>(tabAgree, L"Label1"), 16, 8, 470, 16);
  Memo1 = Place(Add<ui::Memo>(tabAgree, L"Memo1"), 16, 28, 470, 168);
  radAgree = Place(Add<ui::RadioButton>(tabAgree, L"radAgree"), 16, 204, 300, 18);
  radNoAgree = Place(Add<ui::RadioButton>(tabAgree, L"radNoAgree"), 16, 226, 300, 18);
  radNoAgree->SetChecked(true);

  labDirHint = Place(Add<ui::Label>(tabDir, L"labDirHint"), 24, 24, 450, 16);
  edDir = Place(Add<ui::Edit>(tabDir, L"edDir"), 24, 52, 360, 22);
  edDir->SetText(L"C:\\Tovrin");
  Button1 = Place(Add<ui::Button>(tabDir, L"Button1"), 396, 50, 80, 25);
  Button1->on_click = [this] { Button1Click(); };
  Label5 = Place(Add<ui::Label>(tabDir, L"Label5"), 24, 96, 450, 36);

  Label13 = Place(Add<ui::Label>(tabIdentity, L"Label13"), 24, 16, 450, 16);
  // The account labels move right to 105 in English: 64 wide, they still end before the boxes.
  Label11 = Place(Add<ui::Label>(tabIdentity, L"Label11"), 80, 50, 64, 16);
  edCOMUser = Place(Add<ui::Edit>(tabIdentity, L"edCOMUser"), 170, 46, 200, 22);
  Label12 = Place(Add<ui::Label>(tabIdentity, L"Label12"), 80, 82, 64, 16);
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
  // The data-file box has its hint as its label, to its left, under the check box that
  // enables both.
  chkbDataFilePath = Place(Add<ui::CheckBox>(tabDB, L"chkbDataFilePath"), 24, 150, 300, 18);
  chkbDataFilePath->on_click = [this] { chkbDataFilePathClick(); };
  edDataFilePath = Place(Add<ui::Edit>(tabDB, L"edDataFilePath"), 250, 172, 220, 22);
  edDataFilePath->SetEnabled(false);
  labDataFilePath = Place(Add<ui::Label>(tabDB, L"labDataFilePath"), 42, 176, 204, 16);
  labDataFilePath->SetEnabled(false);
  chkDemoData = Place(Add<ui::CheckBox>(tabDB, L"chkDemoData"), 24, 206, 220, 18);
  pnlDB = Place(Add<ui::Panel>(tabDB, L"pnlDB"), 300, 204, 180, 24);

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
  btnPrior->on_click = [this] { btnPriorClick(); };
  btnNext = Place(Add<ui::Button>(this, L"btnNext"), 322, 350, 80, 25);
  btnNext->on_click = [this] { btnNextClick(); };
  btnOK->SetBounds(322, 350, 80, 25);
  btnOK->SetVisible(false);
  btnCancel->SetBounds(412, 350, 80, 25);
  // Enter presses Next, or Finish where Next is hidden; Esc presses Cancel.
  btnNext->is_default = true;
  btnOK->is_default = true;
  btnCancel->is_cancel = true;

  Timer1 = Add<ui::Timer>(this, L"Timer1");
  Timer1->interval_ms = 500;
  Timer1->on_timer = [this] { Timer1Timer(); };

  // The form starts in language A: its captions and licence agreement.
  ApplyCaptions(0);
  Memo1->SetText(LicenceText(0));
}

}  // namespace quillon
