#pragma once
// The application object of the user-interface toolkit: title, message boxes, the idle
// event, message processing and the end of the program. The Win32 adapter runs the real
// message loop; the fake records boxes and answers them from a script.

#include <functional>
#include <string>

namespace quillon::ui {
class Form;
}

namespace quillon {

enum class MsgIcon { None, Information, Question, Error };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No };

// Thrown to end the program at once (after a message that says why). Not an Error: no
// error box is shown for it; the entry point catches it and returns.
struct ProgramEnd {};

// An idle handler with an owner, so a form can tell whether its own handler is installed.
// What became of one message box: shown and answered by the user, or answered unseen.
struct BoxRecord {
  std::wstring text, caption;
  MsgIcon icon;
  MsgButtons buttons;
  MsgResult answer;
  bool by_user;
};

struct IdleHandler {
  const void* owner = nullptr;
  std::function<void()> run;
  explicit operator bool() const { return static_cast<bool>(run); }
};

class Application {
 public:
  virtual ~Application() = default;

  virtual void SetTitle(const std::wstring& title) = 0;
  virtual std::wstring Title() const = 0;

  // Application-modal message box; returns the button pressed. With boxes suppressed nothing
  // shows and nothing waits: a question is answered Yes, any other box OK. The box listener
  // hears of every box once it is answered.
  MsgResult MessageBox(const std::wstring& text, const std::wstring& caption, MsgIcon icon,
                       MsgButtons buttons);
  void SuppressBoxes(bool on) { boxes_suppressed_ = on; }
  bool boxes_suppressed() const { return boxes_suppressed_; }
  void SetBoxListener(std::function<void(const BoxRecord&)> listener) {
    box_listener_ = std::move(listener);
  }
  const std::function<void(const BoxRecord&)>& box_listener() const { return box_listener_; }
  // No window of the application shows at any time (the main form stays hidden).
  void HideWindows(bool on) { windows_hidden_ = on; }
  bool windows_hidden() const { return windows_hidden_; }
  // Run after each standard error box has been answered: a run nobody attends ends there
  // (the handler may throw ProgramEnd). Empty: the event ends and the program goes on.
  void SetAfterErrorBox(std::function<void()> handler) { after_error_box_ = std::move(handler); }
  // Dispatches every pending window message, then returns.
  virtual void ProcessMessages() = 0;
  // The system's default beep.
  virtual void Beep() = 0;
  // The platform's folder picker: file-system folders only, rooted at the desktop, nothing
  // preselected, `title` as its instruction text. While it is open the application's other
  // windows take no input. True, with the chosen folder's full path, when a folder was chosen.
  virtual bool SelectFolder(const std::wstring& title, std::wstring* path) = 0;

  // Runs the program's main form: makes its window (hidden), runs `form_show` as one event
  // while the window is being shown, shows it unless it closed meanwhile, then serves messages
  // until the form has closed or the program was ended. Runs the idle handler each time the
  // message queue has been emptied.
  virtual void RunMainForm(ui::Form& form, const std::function<void()>& form_show) = 0;

  // The handler run each time the message queue has been emptied (may be empty).
  IdleHandler& OnIdle() { return on_idle_; }
  void SetOnIdle(IdleHandler handler) { on_idle_ = std::move(handler); }

  // Asks for the end of the program once the event being handled has returned.
  void RequestTerminate() { terminate_requested_ = true; }
  bool terminate_requested() const { return terminate_requested_; }

  // The standard error box: stop icon, the application title as caption.
  void ShowError(const std::wstring& message);

  // Runs one user-interface event: an Error escaping it is shown in the standard error box
  // and the event ends there; ProgramEnd passes through.
  void HandleEvent(const std::function<void()>& event);

 protected:
  // Shows the box and waits for the answer.
  virtual MsgResult ShowMessageBox(const std::wstring& text, const std::wstring& caption,
                                   MsgIcon icon, MsgButtons buttons) = 0;

 private:
  bool boxes_suppressed_ = false;
  bool windows_hidden_ = false;
  std::function<void(const BoxRecord&)> box_listener_;
  std::function<void()> after_error_box_;
  IdleHandler on_idle_;
  bool terminate_requested_ = false;
};

}  // namespace quillon
