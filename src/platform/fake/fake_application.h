#pragma once
// Application without windows: records every message box and answers Yes/No questions from
// a script (Yes when the script is empty); counts message processing and beeps.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ports/application.h"

namespace quillon {

class FakeApplication : public Application {
 public:
  struct Box {
    std::wstring text, caption;
    MsgIcon icon;
    MsgButtons buttons;
  };

  void SetTitle(const std::wstring& title) override { title_ = title; }
  std::wstring Title() const override { return title_; }
  MsgResult ShowMessageBox(const std::wstring& text, const std::wstring& caption, MsgIcon icon,
                           MsgButtons buttons) override;
  // Counts, then runs `during_messages` once (an event the user sent meanwhile).
  void ProcessMessages() override;
  void Beep() override { ++beeps; }
  // Records the title; answers from QueueFolder (cancelled when nothing is queued).
  bool SelectFolder(const std::wstring& title, std::wstring* path) override;
  // Runs `form_show` as an event, then `after_show` (what the message loop would bring: a
  // timer firing, the user's clicks) unless the form closed, and returns.
  void RunMainForm(ui::Form& form, const std::function<void()>& form_show) override;
  // Runs the idle handler once, as the message loop does when its queue is empty.
  void Idle() {
    if (OnIdle()) OnIdle().run();
  }

  // Answers for the next Yes/No questions, in order.
  void QueueAnswer(MsgResult answer) { answers_.push_back(answer); }
  // The folder the next picker returns; an empty text cancels it.
  void QueueFolder(std::wstring folder) { folders_.push_back(std::move(folder)); }

  std::vector<Box> boxes;
  int process_messages_count = 0;
  int beeps = 0;
  std::vector<std::wstring> folder_picker_titles;
  std::function<void()> during_messages;
  bool ran_main_form = false;
  std::function<void(ui::Form&)> after_show;
  // Runs as RunMainForm ends, also when the program ends during it (a look at the form).
  std::function<void(ui::Form&)> at_end;

 private:
  std::wstring title_;
  std::deque<MsgResult> answers_;
  std::deque<std::wstring> folders_;
};

}  // namespace quillon
