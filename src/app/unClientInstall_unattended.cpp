// The wizard in runs nobody attends: the destination switch, the log's account of the
// destination, and the end of a run that would otherwise wait for someone.
#include "app/setup_log.h"
#include "app/unClientInstall.h"

namespace quillon {

bool TfrmClientInstall::NobodyThere() const {
  const SetupSwitches& s = env_.switches;
  return s.unattended() || s.boxes_suppressed();
}

void TfrmClientInstall::Log(const std::wstring& text) const {
  if (env_.log) env_.log->Line(text);
}

void TfrmClientInstall::EndUnattended(int code, const std::wstring& why) {
  Log(why);
  exit_code_ = code;
  bCanClose = true;
  Close();
  throw ProgramEnd{};
}

void TfrmClientInstall::EndAfterUnattendedError() {
  EndUnattended(exit_code_ >= 0 ? exit_code_ : kExitInstallFailed,
                L"the run ends after the error above: nobody attends it");
}

void TfrmClientInstall::ApplyDestinationSwitch(bool recorded_install, bool configured) {
  const SetupSwitches& s = env_.switches;
  if (s.dir) {
    edDir->SetText(*s.dir);
    Log(L"destination " + *s.dir + L": given by /DIR=");
  } else if (recorded_install) {
    Log(L"destination " + edDir->text() + L": the recorded install (CLIENTPart)");
  } else if (configured) {
    Log(L"destination " + edDir->text() + L": the configuration's DEFAULT_PATH and \\CLIENT");
  } else {
    Log(L"destination " + edDir->text() + L": the installer's default");
  }
}

}  // namespace quillon
