// The wizard's install step: hands the payload store, the platform services and the wizard's
// settings to the install procedure and shows its progress on the install page.
#include "app/destination_folder.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/text.h"
#include "deploy/install_procedure.h"

namespace quillon {

namespace {

class PageProgress : public InstallProgress {
 public:
  PageProgress(ui::ProgressBar& bar, ui::Label& label) : bar_(bar), label_(label) {}
  void SetTotalParts(int total) override { bar_.SetTotalParts(total); }
  void SetPartsComplete(int number) override { bar_.SetPartsComplete(number); }
  void ShowTargetPath(const std::wstring& path) override {
    label_.SetCaption(path);
    label_.Repaint();
  }

 private:
  ui::ProgressBar& bar_;
  ui::Label& label_;
};

}  // namespace

void TfrmClientInstall::InstallFiles(const std::wstring& dest) {
  InstallServices services;
  services.resources = env_.resources;
  services.code_page = env_.code_page;
  services.files = env_.files;
  services.shell = env_.shell;
  services.registry = env_.registry;
  services.complus = env_.complus;
  services.background = env_.background;

  InstallSettings settings;
  settings.installer_dir = env_.installer_dir;
  settings.com_user = Trim(edCOMUser->text());
  settings.com_password = Trim(edCOMUserPW->text());
  settings.ex_file_dir = ExFileDir;
  settings.icon_path_agent = &sIconPath_Agent;
  settings.icon_path_client = &sIconPath_Client;
  settings.owner = window_handle();
  FileSystem& fs = *env_.files;
  settings.check_folder = [&fs](const std::wstring& folder) {
    return CheckDestDir(fs, folder, false);
  };
  settings.in_use_message = LangText(L"有文件正在使用,请重启机器后,再重新安装！",
                                     L"有檔正在使用,請重啟機器後,再重新安裝！",
                                     L"File is in use,reboot machines,then reinstall!");

  PageProgress progress(*pb, *labCopyFile);
  RunInstallProcedure(dest, services, settings, progress);
}

}  // namespace quillon
