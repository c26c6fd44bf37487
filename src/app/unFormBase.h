#pragma once
// TfrmFormBase: the base dialog form. It carries the OK and Cancel buttons and the symbol
// line, keeps the language read at creation, and hooks its idle handler into the
// application while it is shown.

#include <string>

#include "app/installer_env.h"
#include "controls/SymbolLine.h"
#include "controls/widgets.h"

namespace quillon {

class TfrmFormBase : public ui::Form {
 public:
  explicit TfrmFormBase(InstallerEnv& env, std::wstring name);
  ~TfrmFormBase() override = default;

  ui::Button* btnOK = nullptr;
  ui::Button* btnCancel = nullptr;
  TSymbolLine* SymbolLine1 = nullptr;

  // The language code read when the form was created; later changes leave it alone.
  std::wstring sLangFlag;
  // The application's idle handler from before the form was shown.
  IdleHandler oldDoIdle;

  // The idle handler; empty here.
  virtual void DoIdle() {}
  // Applies the captions of the current language.
  virtual void SetLangCaption();

  virtual void FormCreate();
  virtual void FormShow();
  // Runs when a close goes ahead: puts the earlier idle handler back.
  virtual void FormClose();
  virtual void btnOKClick();
  virtual void btnCancelClick();

  std::wstring LangText(const std::wstring& a, const std::wstring& b,
                        const std::wstring& c) const;
  // Whether this form's own idle handler is the application's current one.
  bool IdleHooked() const;

 protected:
  void OnClose() override { FormClose(); }
  InstallerEnv& env_;
};

}  // namespace quillon
