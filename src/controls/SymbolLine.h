#pragma once
// TSymbolLine: a caption followed by an etched horizontal line to the control's right edge,
// the divider that heads a group of controls on a dialog.

#include <string>

#include "controls/widgets.h"

namespace quillon {

class TSymbolLine : public ui::Control {
 public:
  TSymbolLine(ui::Control* parent, std::wstring name);

  const std::wstring& Caption() const { return FCaption; }
  // Stores the text and sets the label's text at once.
  void SetCaption(const std::wstring& caption);
  int Space() const { return FSpace; }
  void SetSpace(int space) { FSpace = space; }
  bool ThinLine() const { return FThinLine; }
  void SetThinLine(bool thin) { FThinLine = thin; }
  bool LabEnable() const { return FLabEnable; }
  void SetLabEnable(bool enable) { FLabEnable = enable; }

  ui::Label* label() const { return lab; }

 private:
  std::wstring FCaption = L"Tovrin";
  ui::Label* lab = nullptr;
  int FSpace = 0;
  bool FThinLine = false;
  bool FLabEnable = false;
  ui::Label own_label_;
};

}  // namespace quillon
