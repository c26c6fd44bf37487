// The symbol line's layout at paint and what it hands its label.
#include <gtest/gtest.h>

#include "controls/SymbolLine.h"

namespace quillon {
namespace {

using S = SymbolLineStroke;

TEST(SymbolLineLayout, Geometry) {
  struct Case {
    const char* what;
    int parent_width, caption_width, caption_height, space;
    bool thin;
    int left, width;
    std::vector<S> strokes;
  } cases[] = {
      {"parent 400",
       400,
       40,
       13,
       0,
       false,
       10,
       370,
       {{LineColour::ButtonShadow, 40, 370, 6}, {LineColour::ButtonHighlight, 40, 370, 7}}},
      {"even height",
       503,
       52,
       12,
       0,
       false,
       10,
       473,
       {{LineColour::ButtonShadow, 52, 473, 6}, {LineColour::ButtonHighlight, 52, 473, 7}}},
      {"space",
       400,
       40,
       13,
       8,
       false,
       10,
       370,
       {{LineColour::ButtonShadow, 48, 370, 6}, {LineColour::ButtonHighlight, 48, 370, 7}}},
      {"thin line", 400, 40, 13, 0, true, 10, 370, {{LineColour::ButtonShadow, 40, 370, 6}}},
      {"empty caption",
       400,
       0,
       0,
       5,
       false,
       10,
       370,
       {{LineColour::ButtonShadow, 5, 370, 0}, {LineColour::ButtonHighlight, 5, 370, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SymbolLineGeometry g =
        LayoutSymbolLine(c.parent_width, c.caption_width, c.caption_height, c.space, c.thin);
    EXPECT_EQ(g.left, c.left);
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.strokes, c.strokes);
  }
}

TEST(SymbolLine, PaintPlacesTheControlAndUpdatesItsLabel) {
  ui::Form form(L"f");
  form.SetBounds(0, 0, 400, 300);
  form.SetFont(ui::Font{L"Tahoma", 8});
  TSymbolLine* line = form.Add<TSymbolLine>(&form, L"SymbolLine1");
  line->SetBounds(50, 200, 100, 16);
  ui::Label* lab = line->label();
  EXPECT_FALSE(lab->enabled());
  EXPECT_EQ(lab->caption(), L"Tovrin");

  line->SetCaption(L"Reseller");
  EXPECT_EQ(lab->caption(), L"Reseller");  // at once, before any paint
  line->SetLabEnable(true);
  line->SetSpace(4);
  EXPECT_FALSE(lab->enabled());  // shows at the next paint

  const SymbolLineGeometry g = line->Paint(30, 13);
  EXPECT_EQ(line->left(), 10);
  EXPECT_EQ(line->width(), 370);
  EXPECT_EQ(line->top(), 200);
  EXPECT_TRUE(lab->enabled());
  EXPECT_EQ(lab->font(), (ui::Font{L"Tahoma", 8}));
  ASSERT_EQ(g.strokes.size(), 2u);
  EXPECT_EQ(g.strokes[0], (S{LineColour::ButtonShadow, 34, 370, 6}));

  // Moved from outside: the next paint puts it back.
  line->SetBounds(0, 200, 10, 16);
  line->SetThinLine(true);
  EXPECT_EQ(line->Paint(30, 13).strokes.size(), 1u);
  EXPECT_EQ(line->left(), 10);
  EXPECT_EQ(line->width(), 370);
}

}  // namespace
}  // namespace quillon
