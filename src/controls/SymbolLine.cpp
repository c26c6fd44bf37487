#include "controls/SymbolLine.h"

namespace quillon {

SymbolLineGeometry LayoutSymbolLine(int parent_width, int caption_width, int caption_height,
                                    int space, bool thin_line) {
  SymbolLineGeometry g;
  g.left = 10;
  g.width = parent_width - 30;
  const int start = caption_width + space;
  const int y = caption_height / 2;
  g.strokes.push_back({LineColour::ButtonShadow, start, g.width, y});
  if (!thin_line) g.strokes.push_back({LineColour::ButtonHighlight, start, g.width, y + 1});
  return g;
}

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

SymbolLineGeometry TSymbolLine::Paint(int caption_width, int caption_height) {
  const int parent_width = parent() ? parent()->width() : 0;
  SymbolLineGeometry g =
      LayoutSymbolLine(parent_width, caption_width, caption_height, FSpace, FThinLine);
  SetBounds(g.left, top(), g.width, height());
  lab->SetEnabled(FLabEnable);
  lab->SetCaption(FCaption);
  // Only a real change is passed on, so a paint never asks for another paint.
  if (!(lab->font() == font())) lab->SetFont(font());
  return g;
}

}  // namespace quillon
