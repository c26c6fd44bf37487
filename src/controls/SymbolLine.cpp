#include "controls/SymbolLine.h"

namespace quillon {

TSymbolLine::TSymbolLine(ui::Control* parent, std::wstring name)
    : ui::Control(ui::Kind::Custom, parent, std::move(name)), own_label_(this, L"lab") {
  lab = &own_label_;
  lab->SetEnabled(false);
  lab->auto_size = true;
  lab->SetCaption(FCaption);
}

void TSymbolLine::SetCaption(const std::wstring& caption) {
  FCaption = caption;
  lab->SetCaption(caption);
}

}  // namespace quillon
