#pragma once
// The widget model of the user-interface toolkit. Forms and their controls are plain
// objects that logic and tests drive without a window; a renderer (the Win32 adapter)
// observes them, shows them with real controls and feeds real events back through the same
// methods a test calls. Coordinates are in 96-DPI pixels; the renderer scales them.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon::ui {

struct Font {
  std::wstring name = L"宋体";
  int size = 9;  // points
  bool operator==(const Font& o) const { return name == o.name && size == o.size; }
};

enum class Kind {
  Form, Label, Button, Edit, Memo, RadioButton, CheckBox, ComboBox, ProgressBar,
  PageControl, TabSheet, Panel, Custom, Timer
};

// What changed on a control, for the renderer.
enum class Prop {
  Caption, Text, Visible, Enabled, Checked, Items, ItemIndex, Bounds, Font, ActivePage,
  Progress, Lines, TimerState, TopMost, Repaint, Closed
};

class Control;

class Observer {
 public:
  virtual ~Observer() = default;
  virtual void Changed(Control& control, Prop what) = 0;
};

class Form;

class Control {
 public:
  Control(Kind kind, Control* parent, std::wstring name);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::wstring& name() const { return name_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  Form* form();

  const std::wstring& caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }

  // The font in effect: the control's own, or its parent's while it follows the parent.
  Font font() const;
  void SetFont(const Font& font);
  void SetFontName(const std::wstring& name);
  bool parent_font() const { return parent_font_; }

  // Asks the renderer to repaint the control at once.
  void Repaint() { Notify(Prop::Repaint); }

 protected:
  void Notify(Prop what);

 private:
  void NotifyFontTree();

  Kind kind_;
  Control* parent_;
  std::wstring name_;
  std::vector<Control*> children_;
  std::wstring caption_;
  bool visible_ = true;
  bool enabled_ = true;
  int left_ = 0, top_ = 0, width_ = 75, height_ = 25;
  Font font_;
  bool parent_font_ = true;
};

class Label : public Control {
 public:
  Label(Control* parent, std::wstring name) : Control(Kind::Label, parent, std::move(name)) {}
  bool auto_size = false;
};

class Button : public Control {
 public:
  Button(Control* parent, std::wstring name) : Control(Kind::Button, parent, std::move(name)) {}
  std::function<void()> on_click;
  // Keyboard roles, set at design time. Enter presses the focused button, or, when no button
  // has the focus, the shown default button; Esc presses the shown cancel button. A role
  // button that is disabled takes no key.
  bool is_default = false;
  bool is_cancel = false;
  // Runs the click action, whatever the enabled state (a press by program code).
  void Click();
};

class Edit : public Control {
 public:
  Edit(Control* parent, std::wstring name) : Control(Kind::Edit, parent, std::move(name)) {}
  const std::wstring& text() const { return text_; }
  void SetText(const std::wstring& text);
  bool password = false;
  std::function<void()> on_change;

 private:
  std::wstring text_;
};

class Memo : public Control {
 public:
  Memo(Control* parent, std::wstring name) : Control(Kind::Memo, parent, std::move(name)) {}
  const std::vector<std::wstring>& lines() const { return lines_; }
  void SetLines(std::vector<std::wstring> lines);
  // The lines joined, each followed by CR LF.
  std::wstring text() const;
  // Replaces the lines by those of a text (split at CR LF, CR or LF).
  void SetText(const std::wstring& text);

 private:
  std::vector<std::wstring> lines_;
};

// Radio buttons exclude the other radio buttons of the same parent.
class RadioButton : public Control {
 public:
  RadioButton(Control* parent, std::wstring name)
      : Control(Kind::RadioButton, parent, std::move(name)) {}
  bool checked() const { return checked_; }
  void SetChecked(bool checked);
  std::function<void()> on_click;
  // A user's click: selects the button, then runs on_click.
  void Click();

 private:
  bool checked_ = false;
};

class CheckBox : public Control {
 public:
  CheckBox(Control* parent, std::wstring name) : Control(Kind::CheckBox, parent, std::move(name)) {}
  bool checked() const { return checked_; }
  void SetChecked(bool checked);
  std::function<void()> on_click;
  // A user's click: toggles the box, then runs on_click.
  void Click();

 private:
  bool checked_ = false;
};

class ComboBox : public Control {
 public:
  ComboBox(Control* parent, std::wstring name) : Control(Kind::ComboBox, parent, std::move(name)) {}
  const std::vector<std::wstring>& items() const { return items_; }
  void SetItems(std::vector<std::wstring> items);
  int item_index() const { return item_index_; }
  // Selects an item (-1 for none) without running on_change, as code does.
  void SetItemIndex(int index);
  std::function<void()> on_change;
  // A user's choice: selects the item, then runs on_change.
  void Choose(int index);

 private:
  std::vector<std::wstring> items_;
  int item_index_ = -1;
};

class ProgressBar : public Control {
 public:
  ProgressBar(Control* parent, std::wstring name)
      : Control(Kind::ProgressBar, parent, std::move(name)) {}
  int total_parts() const { return total_; }
  int parts_complete() const { return complete_; }
  void SetTotalParts(int total);
  void SetPartsComplete(int complete);

 private:
  int total_ = 0;
  int complete_ = 0;
};

class TabSheet : public Control {
 public:
  TabSheet(Control* parent, std::wstring name) : Control(Kind::TabSheet, parent, std::move(name)) {}
  bool tab_visible = true;
};

class PageControl : public Control {
 public:
  PageControl(Control* parent, std::wstring name)
      : Control(Kind::PageControl, parent, std::move(name)) {}
  void AddPage(TabSheet* page) { pages_.push_back(page); }
  int page_count() const { return static_cast<int>(pages_.size()); }
  TabSheet* page(int index) const { return pages_.at(index); }
  int active_page_index() const { return active_; }
  TabSheet* active_page() const { return active_ < 0 ? nullptr : pages_.at(active_); }
  void SetActivePageIndex(int index);
  void SetActivePage(TabSheet* page);
  void HideAllTabs();

 private:
  std::vector<TabSheet*> pages_;
  int active_ = -1;
};

class Panel : public Control {
 public:
  Panel(Control* parent, std::wstring name) : Control(Kind::Panel, parent, std::move(name)) {}
  // A banner panel is painted in the window colour instead of the face colour.
  bool banner = false;
};

// A one-shot or repeating timer owned by a form; the renderer runs it while enabled.
class Timer : public Control {
 public:
  Timer(Control* parent, std::wstring name) : Control(Kind::Timer, parent, std::move(name)) {}
  bool timer_enabled() const { return timer_enabled_; }
  void SetTimerEnabled(bool enabled);
  int interval_ms = 1000;
  std::function<void()> on_timer;
  // The timer's tick, from the renderer or a test.
  void Fire() {
    if (on_timer) on_timer();
  }

 private:
  bool timer_enabled_ = false;
};

// A top-level window and the owner of its controls.
class Form : public Control {
 public:
  explicit Form(std::wstring name);
  ~Form() override;

  template <class T>
  T* Add(Control* parent, std::wstring name) {
    auto owned = std::make_unique<T>(parent, std::move(name));
    T* raw = owned.get();
    owned_.push_back(std::move(owned));
    return raw;
  }
  // Finds a control by name; nullptr when none.
  Control* Find(const std::wstring& name) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return owned_; }

  void SetObserver(Observer* observer) { observer_ = observer; }
  Observer* observer() const { return observer_; }

  // Close request: asks CanClose; when it agrees runs OnClose and marks the form closed.
  // Returns whether the form closed. A refused request changes nothing.
  bool Close();
  bool closed() const { return closed_; }
  bool top_most() const { return top_most_; }
  void SetTopMost(bool top_most);
  // The renderer's window for this form (an HWND on Windows), or nullptr without one.
  void* window_handle() const { return window_handle_; }
  void SetWindowHandle(void* handle) { window_handle_ = handle; }

 protected:
  virtual bool CanClose() { return true; }
  virtual void OnClose() {}

 private:
  std::vector<std::unique_ptr<Control>> owned_;
  Observer* observer_ = nullptr;
  bool closed_ = false;
  bool top_most_ = false;
  void* window_handle_ = nullptr;
};

}  // namespace quillon::ui
