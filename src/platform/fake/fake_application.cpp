#include "platform/fake/fake_application.h"

#include "controls/widgets.h"

namespace quillon {

MsgResult FakeApplication::ShowMessageBox(const std::wstring& text, const std::wstring& caption,
                                          MsgIcon icon, MsgButtons buttons) {
  boxes.push_back(Box{text, caption, icon, buttons});
  if (buttons == MsgButtons::Ok) return MsgResult::Ok;
  if (answers_.empty()) return MsgResult::Yes;
  const MsgResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void FakeApplication::ProcessMessages() {
  ++process_messages_count;
  if (during_messages) {
    auto event = std::move(during_messages);
    during_messages = nullptr;
    event();
  }
}

bool FakeApplication::SelectFolder(const std::wstring& title, std::wstring* path) {
  folder_picker_titles.push_back(title);
  if (folders_.empty()) return false;
  const std::wstring folder = folders_.front();
  folders_.pop_front();
  if (folder.empty()) return false;
  *path = folder;
  return true;
}

void FakeApplication::RunMainForm(ui::Form& form, const std::function<void()>& form_show) {
  ran_main_form = true;
  struct AtEnd {
    FakeApplication& app;
    ui::Form& form;
    ~AtEnd() {
      if (app.at_end) app.at_end(form);
    }
  } at_end_guard{*this, form};
  HandleEvent(form_show);
  if (after_show && !form.closed()) HandleEvent([&] { after_show(form); });
}

}  // namespace quillon
