#include "controls/widgets.h"

#include "base/text.h"

namespace quillon::ui {

Control::Control(Kind kind, Control* parent, std::wstring name)
    : kind_(kind), parent_(parent), name_(std::move(name)) {
  if (parent_) parent_->children_.push_back(this);
}

Form* Control::form() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return c->kind_ == Kind::Form ? static_cast<Form*>(c) : nullptr;
}

void Control::Notify(Prop what) {
  Form* f = form();
  if (f && f->observer()) f->observer()->Changed(*this, what);
}

void Control::SetCaption(const std::wstring& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Notify(Prop::Caption);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(Prop::Visible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify(Prop::Enabled);
}

void Control::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Prop::Bounds);
}

Font Control::font() const {
  if (parent_font_ && parent_) return parent_->font();
  return font_;
}

void Control::SetFont(const Font& font) {
  font_ = font;
  parent_font_ = false;
  NotifyFontTree();
}

void Control::SetFontName(const std::wstring& name) {
  Font f = font();
  f.name = name;
  SetFont(f);
}

void Control::NotifyFontTree() {
  Notify(Prop::Font);
  for (Control* child : children_) {
    if (child->parent_font_) child->NotifyFontTree();
  }
}

void Button::Click() {
  if (on_click) on_click();
}

void Edit::SetText(const std::wstring& text) {
  if (text_ == text) return;
  text_ = text;
  Notify(Prop::Text);
  if (on_change) on_change();
}

void Memo::SetLines(std::vector<std::wstring> lines) {
  lines_ = std::move(lines);
  Notify(Prop::Lines);
}

std::wstring Memo::text() const { return JoinLinesCrLf(lines_); }

void Memo::SetText(const std::wstring& text) { SetLines(SplitLines(text)); }

void RadioButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  if (checked && parent()) {
    for (Control* sibling : parent()->children()) {
      if (sibling != this && sibling->kind() == Kind::RadioButton) {
        static_cast<RadioButton*>(sibling)->SetChecked(false);
      }
    }
  }
  Notify(Prop::Checked);
}

void RadioButton::Click() {
  SetChecked(true);
  if (on_click) on_click();
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify(Prop::Checked);
}

void CheckBox::Click() {
  SetChecked(!checked_);
  if (on_click) on_click();
}

void ComboBox::SetItems(std::vector<std::wstring> items) {
  items_ = std::move(items);
  if (item_index_ >= static_cast<int>(items_.size())) item_index_ = -1;
  Notify(Prop::Items);
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (item_index_ == index) return;
  item_index_ = index;
  Notify(Prop::ItemIndex);
}

void ComboBox::Choose(int index) {
  SetItemIndex(index);
  if (on_change) on_change();
}

void ProgressBar::SetTotalParts(int total) {
  total_ = total;
  Notify(Prop::Progress);
}

void ProgressBar::SetPartsComplete(int complete) {
  complete_ = complete;
  Notify(Prop::Progress);
}

void PageControl::SetActivePageIndex(int index) {
  if (index < -1 || index >= page_count()) return;
  if (active_ == index) return;
  active_ = index;
  Notify(Prop::ActivePage);
}

void PageControl::SetActivePage(TabSheet* page) {
  for (int i = 0; i < page_count(); ++i) {
    if (pages_[i] == page) SetActivePageIndex(i);
  }
}

void PageControl::HideAllTabs() {
  for (TabSheet* p : pages_) p->tab_visible = false;
  Notify(Prop::ActivePage);
}

void Timer::SetTimerEnabled(bool enabled) {
  if (timer_enabled_ == enabled) return;
  timer_enabled_ = enabled;
  Notify(Prop::TimerState);
}

Form::Form(std::wstring name) : Control(Kind::Form, nullptr, std::move(name)) {
  SetVisible(false);
}

Form::~Form() = default;

Control* Form::Find(const std::wstring& name) const {
  for (const auto& c : owned_) {
    if (c->name() == name) return c.get();
  }
  return nullptr;
}

bool Form::Close() {
  if (closed_) return true;
  if (!CanClose()) return false;
  OnClose();
  closed_ = true;
  Notify(Prop::Closed);
  return true;
}

void Form::SetTopMost(bool top_most) {
  top_most_ = top_most;
  Notify(Prop::TopMost);
}

}  // namespace quillon::ui
