#pragma once
// TSymbolLine: a caption followed by an etched horizontal line to the control's right edge,
// the divider that heads a group of controls on a dialog.

#include <string>
#include <vector>

#include "controls/widgets.h"

namespace quillon {

// Which system colour a line of the symbol line is drawn in.
enum class LineColour {
  ButtonShadow,     // COLOR_BTNSHADOW, the dark line
  ButtonHighlight,  // COLOR_BTNHIGHLIGHT, the light line below it
};

// One horizontal line in the control's client coordinates, from x_start to x_end with the
// end point excluded (as a pen's LineTo draws it).
struct SymbolLineStroke {
  LineColour colour;
  int x_start;
  int x_end;
  int y;
  bool operator==(const SymbolLineStroke& o) const {
    return colour == o.colour && x_start == o.x_start && x_end == o.x_end && y == o.y;
  }
};

// Where the control sits and what it draws, worked out at each paint.
struct SymbolLineGeometry {
  int left = 0;                           // the control's left edge in its parent
  int width = 0;                          // the control's width
  std::vector<SymbolLineStroke> strokes;  // dark line first, then the light one unless thin
};

// The layout of a paint: left 10, width = parent width - 30; the lines start at
// caption_width + space and end at the control's width; the dark line at y = caption_height / 2
// (remainder dropped), the light one a pixel below unless `thin_line`. The caption is measured
// with the canvas's own font, not the control's Font.
SymbolLineGeometry LayoutSymbolLine(int parent_width, int caption_width, int caption_height,
                                    int space, bool thin_line);

class TSymbolLine : public ui::Control {
 public:
  TSymbolLine(ui::Control* parent, std::wstring name);

  const std::wstring& Caption() const { return FCaption; }
  // Stores the text and sets the label's text at once.
  void SetCaption(const std::wstring& caption);
  // Space, ThinLine and LabEnable only store the value; it shows at the next paint.
  int Space() const { return FSpace; }
  void SetSpace(int space) { FSpace = space; }
  bool ThinLine() const { return FThinLine; }
  void SetThinLine(bool thin) { FThinLine = thin; }
  bool LabEnable() const { return FLabEnable; }
  void SetLabEnable(bool enable) { FLabEnable = enable; }

  // The paint, for the renderer: `caption_width` and `caption_height` are the extent of
  // Caption() measured with the canvas's default font. Moves the control to its layout
  // (left 10, width of the parent - 30; this raises Prop::Bounds), hands the label its
  // enabled state (LabEnable), text and font (the control's Font), and returns the lines to
  // draw. Without a parent the parent width counts as 0.
  SymbolLineGeometry Paint(int caption_width, int caption_height);

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
