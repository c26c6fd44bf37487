#include "app/unMsgDialog.h"

#include "base/error.h"
#include "config/unReg_File.h"

namespace quillon {

namespace {

Application*& BoundApp() {
  static Application* app = nullptr;
  return app;
}

}  // namespace

void BindLanguageServices(Registry* registry, Application* app) {
  BoundApp() = app;
  if (!registry) {
    BindLanguage(nullptr);
    return;
  }
  BindLanguage([registry]() -> std::wstring {
    // A failed read means no stored language, that is the default one.
    try {
      return ReadUserRegString(*registry, kProductKey, L"CurLang");
    } catch (const Error&) {
      return std::wstring();
    }
  });
}

void ShowHintMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c,
                 const std::wstring& caption, bool as_given) {
  Application* app = BoundApp();
  if (!app) return;
  const std::wstring text = as_given ? a : LangText(a, b, c);
  const std::wstring title = caption.empty() ? LangText(L"提示", L"提示", L"Hint") : caption;
  app->MessageBox(text, title, MsgIcon::Information, MsgButtons::Ok);
}

bool ShowConfirmMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c) {
  Application* app = BoundApp();
  if (!app) return false;
  return app->MessageBox(LangText(a, b, c), LangText(L"确认", L"確認", L"Confirm"),
                         MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes;
}

}  // namespace quillon
