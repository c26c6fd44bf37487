#include "app/installer_main.h"

#include <memory>

#include "app/logged_services.h"
#include "app/setup_log.h"
#include "app/switch_help.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"

#ifndef QUILLON_VERSION
#define QUILLON_VERSION "0"
#endif

namespace quillon {

namespace {

std::wstring QuotedIfNeeded(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  return L"\"" + ReplaceAll(arg, L"\"", L"\"\"") + L"\"";
}

std::wstring CommandLineText(const InstallerEnv& env) {
  std::wstring text =
      QuotedIfNeeded(env.program_file.empty() ? L"QuillonSetup.exe" : env.program_file);
  for (const std::wstring& arg : env.args) text += L" " + QuotedIfNeeded(arg);
  return text;
}

// Opens the log the switches ask for; nullptr when none is asked for or none can be written
// (said on standard error by the log).
std::unique_ptr<SetupLog> OpenLog(const InstallerEnv& env) {
  const SetupSwitches& s = env.switches;
  if (!s.log || !env.log_output) return nullptr;
  auto log = std::make_unique<SetupLog>(*env.log_output);
  std::wstring path = s.log_file;
  if (path.empty()) {
    path = env.log_output->TempFolder() + L"\\" +
           DefaultLogName(env.program_file, env.log_output->Now());
  }
  if (!log->Open(path)) return nullptr;
  return log;
}

void LogBox(SetupLog& log, const BoxRecord& box) {
  const wchar_t* kind = box.buttons == MsgButtons::YesNo   ? L"question"
                        : box.icon == MsgIcon::Error       ? L"error"
                        : box.icon == MsgIcon::Information ? L"information"
                                                           : L"message";
  const wchar_t* answer = box.answer == MsgResult::Yes  ? L"Yes"
                          : box.answer == MsgResult::No ? L"No"
                                                        : L"OK";
  log.Line(
      std::wstring(L"message box (") + kind + L"): \"" + box.caption + L"\": " + box.text +
      L" -> " + answer +
      (box.by_user ? L", answered by the user" : L", answered by the installer (no box shown)"));
}

int Finish(SetupLog* log, int code) {
  if (log) log->Line(L"exit code " + IntToText(code));
  return code;
}

int RunForm(InstallerEnv& env) {
  env.app->SetTitle(kEntryTitle);
  TfrmClientInstall form(env);
  try {
    try {
      form.FormCreate();
    } catch (const Error& e) {
      // Without a created main form there is nothing to run: say why and end.
      env.app->ShowError(e.message());
      return kExitRefused;
    }
    // Nobody attends the run: an error box ends it instead of leaving the wizard waiting.
    const SetupSwitches& s = env.switches;
    if (s.unattended() || s.boxes_suppressed()) {
      env.app->SetAfterErrorBox([&form] { form.EndAfterUnattendedError(); });
    }
    env.app->RunMainForm(form, [&form] { form.FormShow(); });
  } catch (const ProgramEnd&) {
  }
  env.app->SetAfterErrorBox(nullptr);
  return form.exit_code();
}

}  // namespace

int RunInstaller(InstallerEnv& base) {
  InstallerEnv env = base;
  env.switches = ParseSetupSwitches(base.args);
  env.args = env.switches.rest;
  const SetupSwitches& s = env.switches;
  env.app->SuppressBoxes(s.boxes_suppressed());
  env.app->HideWindows(s.very_silent);

  const std::function<void(const BoxRecord&)> outer = env.app->box_listener();
  std::unique_ptr<SetupLog> log = OpenLog(env);
  std::unique_ptr<LoggedServices> logged;
  if (log) {
    log->Line(L"QuillonSetup " + FromUtf8(QUILLON_VERSION));
    log->Line(L"command line: " + CommandLineText(base));
    logged = std::make_unique<LoggedServices>(env, *log);
    env = logged->env;
    // A listener already in place (a tool watching the run) goes on hearing of each box.
    env.app->SetBoxListener([&log, outer](const BoxRecord& box) {
      LogBox(*log, box);
      if (outer) outer(box);
    });
  }
  SetupLog* const run_log = log.get();
  BindLanguageServices(env.registry, env.app);

  if (s.help || s.fault != SetupSwitches::Fault::None) {
    // Nothing is stored: the language asked for only chooses the box's texts.
    if (!s.lang.empty()) UseLanguageForRun(s.lang);
    ShowHintMsg(SwitchHelpText(s), L"", L"", SwitchHelpCaption(), true);
    const int code =
        s.help && s.fault == SetupSwitches::Fault::None ? kExitHelpShown : kExitWrongUsage;
    env.app->SetBoxListener(outer);
    return Finish(run_log, code);
  }

  if (env.instance_lock && !env.instance_lock->TryTake()) {
    if (!s.lang.empty()) UseLanguageForRun(s.lang);
    if (s.unattended() || s.boxes_suppressed()) {
      if (run_log) run_log->Line(L"not installed: " + AlreadyRunningText());
    } else {
      ShowHintMsg(AlreadyRunningText(), L"", L"", L"", true);
    }
    env.app->SetBoxListener(outer);
    return Finish(run_log, kExitAlreadyRunning);
  }

  // The language asked for is stored as the wizard's language box stores it.
  if (!s.lang.empty()) WriteUserRegString(*env.registry, kProductKey, L"CurLang", s.lang);
  if (run_log) {
    run_log->Line(L"language " + GetCurLang() + L", ANSI code page " + env.code_page->Name());
  }
  const int code = RunForm(env);
  env.app->SetBoxListener(outer);
  return Finish(run_log, code);
}

}  // namespace quillon
