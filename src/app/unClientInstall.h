#pragma once
// TfrmClientInstall: the wizard form, the application's main form for the whole run. Its
// fields are the installer state of one run; its controls form the eight-page wizard.

#include <string>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/unFormBase.h"

namespace quillon {

// The application title set at program entry, before the wizard computes its own.
inline const std::wstring kEntryTitle = L"《Quillon(网络Excel平台)》客户端安装程序";

class TfrmClientInstall : public TfrmFormBase {
 public:
  explicit TfrmClientInstall(InstallerEnv& env);

  // --- Installer state -------------------------------------------------------------------
  std::wstring sDestDir;
  bool bCanClose = false;
  std::wstring OEMMsg, OEMMsg2;
  std::wstring sClientName_Ribbon;
  std::wstring sLoginIPForShortCut, sLoginDBForShortCut;
  std::wstring sLoginMenuCaption;
  bool bNoLoginMenu = false;
  bool bNoExcelClient = false, bNoExcelAgent = false;
  bool bNoDisplayLoginIP = false, bNoDisplayLoginDB = false;
  bool bSilenceInstall = false;
  bool bAutoSetIE = false;
  std::wstring IPForSetIE, PortForSetIE, ShortCutNameForIE;
  bool bCreateShortCutForIE = false;
  std::wstring ExFileDir;
  std::wstring sIconPath_Client, sIconPath_Agent;
  std::wstring sCaption_Client, sCaption_Agent;

  // --- Controls ----------------------------------------------------------------------------
  ui::Panel* pnlTop = nullptr;
  ui::Label* labMain = nullptr;
  ui::Label* labDetail = nullptr;
  ui::PageControl* pcMain = nullptr;
  ui::TabSheet *tabFirst = nullptr, *tabAgree = nullptr, *tabDir = nullptr, *tabIdentity = nullptr,
               *tabDB = nullptr, *tabCOM = nullptr, *tabInstall = nullptr, *tabFinished = nullptr;
  ui::Label *labFirstHint1 = nullptr, *labFirstHint2 = nullptr;
  ui::RadioButton* rabInstall = nullptr;
  ui::Label* Label1 = nullptr;
  ui::Memo* Memo1 = nullptr;
  ui::RadioButton *radAgree = nullptr, *radNoAgree = nullptr;
  ui::Label* labDirHint = nullptr;
  ui::Edit* edDir = nullptr;
  ui::Button* Button1 = nullptr;
  ui::Label* Label5 = nullptr;
  ui::Label *Label13 = nullptr, *Label11 = nullptr, *Label12 = nullptr, *Label14 = nullptr,
            *Label15 = nullptr, *Label16 = nullptr;
  ui::Edit *edCOMUser = nullptr, *edCOMUserPW = nullptr;
  ui::Label *Label9 = nullptr, *Label4 = nullptr, *Label7 = nullptr, *Label8 = nullptr,
            *Label10 = nullptr;
  ui::Edit *edDBSvr = nullptr, *edDBUser = nullptr, *edDBUserPW = nullptr, *edDBName = nullptr;
  ui::CheckBox* chkbDataFilePath = nullptr;
  ui::Edit* edDataFilePath = nullptr;
  ui::Label* labDataFilePath = nullptr;
  ui::CheckBox* chkDemoData = nullptr;
  ui::Panel* pnlDB = nullptr;
  ui::Label* Label2 = nullptr;
  ui::Edit* edCOMIP = nullptr;
  ui::Label *labInstall = nullptr, *labCopyFile = nullptr;
  ui::ProgressBar* pb = nullptr;
  ui::Label *Label6 = nullptr, *labFinishHint = nullptr, *Label3 = nullptr;
  ui::Button *btnPrior = nullptr, *btnNext = nullptr;
  ui::ComboBox* comboLang = nullptr;
  ui::Timer* Timer1 = nullptr;

  // --- Launch role ---------------------------------------------------------------------------
  const LaunchRole& role() const { return role_; }

  // --- Events and steps ----------------------------------------------------------------------
  void FormCreate() override;
  void FormShow() override;
  void Timer1Timer();
  void btnCancelClick() override;

  // Shows the missing-file message with `detail` and ends the program (throws ProgramEnd).
  [[noreturn]] void ExitForMissingFile(const std::wstring& detail);

  // Steps whose full behaviour belongs to the configuration, language, product-information,
  // page and Excel parts of the installer; see each definition.
  void SetLangCaption() override;
  void comboLangChange();
  void RefreshProductName();
  void ReadSetupConfig();
  // Stores the update stamp of the client installed into sDestDir (sLastUpdateTime).
  void SaveLastUpdateTime();
  void LoadProductInfo();
  void LoadLicenceText();
  void pcMainChange();
  void DoIdle() override;
  void btnNextClick();
  void btnPriorClick();
  void btnOKClick() override;
  void rabInstallClick();
  void chkbDataFilePathClick();
  // The browse button: the folder picker's choice replaces the destination box's text.
  void Button1Click();
  // The steps run on arriving at the Installing page; see its definition.
  void RunInstallSequence();
  // The Excel add-in steps after the install procedure.
  void ClearExcelDisabledItems();
  void RegisterExcelXlaAddIn(const std::wstring& dest);
  void RegisterExcelComAddIn(const std::wstring& display_name);
  // The program group, the shortcuts and the uninstall shortcut.
  void CreateShortcuts();
  // Whether an install sequence of this run has gone through to its end.
  bool install_complete() const { return install_complete_; }

  // How the run ended (exit_codes.h); decided once the form has closed.
  int exit_code() const;
  // A standard error box of a run nobody attends has been answered: the run ends with the
  // install-error code (throws ProgramEnd).
  [[noreturn]] void EndAfterUnattendedError();
  // True when a 32-bit Excel is installed; false after telling the user.
  bool CheckExcel();
  // Drives the browser access set-up tool unseen with IPForSetIE, PortForSetIE,
  // bCreateShortCutForIE and ShortCutNameForIE.
  void RunBrowserAccessTool();
  // The install procedure into `dest` (no trailing "\"), reporting on pb and labCopyFile.
  void InstallFiles(const std::wstring& dest);

 protected:
  bool CanClose() override { return bCanClose; }

 private:
  void BuildControls();
  // Sets the captions of column `column` of the caption table (0 A, 1 B, 2 C).
  void ApplyCaptions(int column);
  // CheckExcel failed: the installer ends.
  void EndAfterFailedExcelCheck();

  // Next on the destination page: takes the folder from the box and checks it; false when
  // the check refused it.
  bool TakeDestination();
  // Next's action, run inside btnNextClick's guard.
  void NextAction();
  // Moves to `index` and runs the page-change update.
  void GoToPage(int index);

  // Unattended runs (/SILENT, /VERYSILENT, /SUPPRESSMSGBOXES): nobody is there to answer or
  // to press a button, so a refusal that would leave the wizard waiting ends the run.
  bool NobodyThere() const;
  // Ends the run with `code`, the reason in the log (throws ProgramEnd).
  [[noreturn]] void EndUnattended(int code, const std::wstring& why);
  // Writes an event to the run's log, when there is one.
  void Log(const std::wstring& text) const;
  // The destination box after the form was shown: /DIR= in place of its text, and the
  // reason for the folder proposed, in the log.
  void ApplyDestinationSwitch(bool recorded_install, bool configured);

  LaunchRole role_;
  bool install_complete_ = false;
  bool install_failed_ = false;
  int exit_code_ = -1;  // decided by how the form ended; -1 while it runs
  // The destination that CheckDestDir accepted in this run (empty: none yet).
  std::wstring accepted_dest_;
  bool dest_accepted_ = false;
  // Depth of running Next actions, and a Cancel that waits for them to return.
  int actions_running_ = 0;
  bool cancel_pending_ = false;
  // The destination and finish hints still hold their format text, waiting for the
  // product name.
  bool dir_hint_unfilled_ = false;
  // A configuration file beside the installer was read at the last reading.
  bool config_found_ = false;
  bool finish_hint_unfilled_ = false;
};

}  // namespace quillon
