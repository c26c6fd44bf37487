#include "platform/ports/application.h"

#include <exception>

#include "base/error.h"
#include "base/text.h"

namespace quillon {

void Application::ShowError(const std::wstring& message) {
  MessageBox(message, Title(), MsgIcon::Error, MsgButtons::Ok);
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
