#pragma once
// The caption table of the wizard form: for each control whose caption depends on the
// language, its text in languages A, B and C. Column A is also the form's design-time text.

#include <cstddef>
#include <string>

namespace quillon {

struct WizardCaption {
  // Name of the control; the form's own name stands for the window caption.
  const wchar_t* control;
  const wchar_t* a;
  const wchar_t* b;
  const wchar_t* c;
};

// The name under which the window caption appears in the table.
inline constexpr const wchar_t* kWizardFormName = L"frmClientInstall";

// The rows, in the order they are applied. An empty text sets an empty caption. btnOK's row
// is applied after the base form has set its own caption. Texts may hold "%s" (filled with
// the product name) and ASCII double quotes, both part of the text.
const WizardCaption* WizardCaptions();
size_t WizardCaptionCount();

// The row of a control, or nullptr.
const WizardCaption* FindWizardCaption(const std::wstring& control);

// Column of a row by language code column index: 0 A, 1 B, 2 C.
const wchar_t* CaptionText(const WizardCaption& row, int column);

}  // namespace quillon
