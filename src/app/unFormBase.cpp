#include "app/unFormBase.h"

#include "app/unMsgDialog.h"

namespace quillon {

TfrmFormBase::TfrmFormBase(InstallerEnv& env, std::wstring name)
    : ui::Form(std::move(name)), env_(env) {
  btnOK = Add<ui::Button>(this, L"btnOK");
  btnOK->SetCaption(L"确定");
  btnCancel = Add<ui::Button>(this, L"btnCancel");
  btnCancel->SetCaption(L"取消");
  SymbolLine1 = Add<TSymbolLine>(this, L"SymbolLine1");
  btnOK->on_click = [this] { btnOKClick(); };
  btnCancel->on_click = [this] { btnCancelClick(); };
}

void TfrmFormBase::SetLangCaption() {
  if (!LangFlagA() && !LangFlagB() && !LangFlagC()) return;
  btnOK->SetCaption(LangText(L"确定", L"確定", L"OK"));
  btnCancel->SetCaption(LangText(L"取消", L"取消", L"Cancel"));
}

void TfrmFormBase::FormCreate() {
  sLangFlag = GetCurLang();
  if (sLangFlag != L"A") SetLangCaption();
}

void TfrmFormBase::FormShow() {
  oldDoIdle = env_.app->OnIdle();
  env_.app->SetOnIdle(IdleHandler{this, [this] { DoIdle(); }});
}

void TfrmFormBase::FormClose() { env_.app->SetOnIdle(oldDoIdle); }

void TfrmFormBase::btnOKClick() { env_.app->SetOnIdle(IdleHandler{}); }

void TfrmFormBase::btnCancelClick() { env_.app->SetOnIdle(IdleHandler{}); }

std::wstring TfrmFormBase::LangText(const std::wstring& a, const std::wstring& b,
                                    const std::wstring& c) const {
  return quillon::LangText(a, b, c);
}

bool TfrmFormBase::IdleHooked() const { return env_.app->OnIdle().owner == this; }

}  // namespace quillon
