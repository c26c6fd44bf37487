#include "platform/ports/application.h"

#include <exception>

#include "base/error.h"
#include "base/text.h"

namespace quillon {

MsgResult Application::MessageBox(const std::wstring& text, const std::wstring& caption,
                                  MsgIcon icon, MsgButtons buttons) {
  MsgResult answer;
  if (boxes_suppressed_) {
    answer = buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
  } else {
    answer = ShowMessageBox(text, caption, icon, buttons);
  }
  if (box_listener_) {
    box_listener_(BoxRecord{text, caption, icon, buttons, answer, !boxes_suppressed_});
  }
  return answer;
}

void Application::ShowError(const std::wstring& message) {
  MessageBox(message, Title(), MsgIcon::Error, MsgButtons::Ok);
  if (after_error_box_) after_error_box_();
}

void Application::HandleEvent(const std::function<void()>& event) {
  try {
    event();
  } catch (const Error& e) {
    ShowError(e.message());
  } catch (const std::bad_alloc&) {
    ShowError(ChooseText({L"内存不足", L"記憶體不足", L"Out of memory"}));
  } catch (const std::exception& e) {
    ShowError(FromUtf8(e.what()));
  }
}

}  // namespace quillon
