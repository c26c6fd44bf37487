#include "app/installer_main.h"

#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/error.h"

namespace quillon {

int RunInstaller(InstallerEnv& env) {
  BindLanguageServices(env.registry, env.app);
  env.app->SetTitle(kEntryTitle);
  TfrmClientInstall form(env);
  try {
    try {
      form.FormCreate();
    } catch (const Error& e) {
      // Without a created main form there is nothing to run: say why and end.
      env.app->ShowError(e.message());
      return TfrmClientInstall::kExitRefused;
    }
    env.app->RunMainForm(form, [&form] { form.FormShow(); });
  } catch (const ProgramEnd&) {
  }
  return form.exit_code();
}

}  // namespace quillon
