#pragma once
// The application object on Win32: a small owner window that carries the application title
// (the taskbar button and the message boxes' captions show it, as Windows shows an
// application), message boxes, the message loop with the idle event, and the view of the
// main form.

#include <memory>
#include <string>

#include "platform/ports/application.h"
#include "platform/win32/windows_api.h"

namespace quillon {

class Win32FormView;

class Win32Application : public Application {
 public:
  explicit Win32Application(HINSTANCE instance);
  ~Win32Application() override;

  void SetTitle(const std::wstring& title) override;
  std::wstring Title() const override { return title_; }
  MsgResult ShowMessageBox(const std::wstring& text, const std::wstring& caption, MsgIcon icon,
                           MsgButtons buttons) override;
  void ProcessMessages() override;
  void Beep() override;
  bool SelectFolder(const std::wstring& title, std::wstring* path) override;
  void RunMainForm(ui::Form& form, const std::function<void()>& form_show) override;

  // Runs one event from a window procedure: errors are shown, and ProgramEnd ends the
  // program instead of unwinding through Windows' own frames.
  void Dispatch(const std::function<void()>& event);
  bool ended() const { return ended_; }
  HWND window() const { return window_; }
  HINSTANCE instance() const { return instance_; }

 private:
  // Dispatches one message; false when it was WM_QUIT.
  bool DispatchOne(MSG& msg);
  // The work of an emptied message queue; false when the form closed or the program ended.
  bool RunIdle(ui::Form& form);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  std::wstring title_;
  std::unique_ptr<Win32FormView> view_;
  bool ended_ = false;
};

}  // namespace quillon
