#pragma once
// Shows a form of the widget model with real Win32 controls: one window per model control,
// kept in step through the model's change notifications, and real events (clicks, typing,
// choices, timer ticks, close requests, keys) fed back through the model's own methods. The
// layout is scaled from 96 DPI to the system DPI.
//
// Keyboard, as in a Windows dialog (the application runs IsDialogMessage on the form): the
// siblings' z-order, and so Tab and Shift+Tab, follow reading order (rows by vertical overlap,
// then left to right), so a label comes just before the box it names; a radio group is one
// tab stop (its selected button) and the arrow keys select within it; Enter presses the
// focused button or else the shown default button, Esc the shown cancel button. A newly shown
// page hands the focus to its first control, and the form gives the focus back to the control
// that had it when it is activated again (after a message box or the folder picker).

#include "platform/win32/windows_api.h"

#include <map>
#include <string>

#include "controls/widgets.h"

namespace quillon {

class Win32Application;

class Win32FormView : public ui::Observer {
 public:
  Win32FormView(Win32Application& app, ui::Form& form);
  ~Win32FormView() override;
  Win32FormView(const Win32FormView&) = delete;
  Win32FormView& operator=(const Win32FormView&) = delete;

  HWND form_window() const { return form_hwnd_; }
  void Changed(ui::Control& control, ui::Prop what) override;

  // Keys the form handles before the dialog manager sees them (the arrow keys in a radio
  // group); true when `msg` was handled and is not to be dispatched.
  bool PreTranslate(const MSG& msg);
  // After each dispatched message: keeps the default-button look where Enter would act and
  // remembers the focused control.
  void AfterMessage();
  // When the message queue has emptied (after the application's idle event, so the buttons'
  // states are current): a page shown since the last time takes the focus.
  void Idle();
  // Makes the windows of one page not made yet, hidden, while the form is shown; false when
  // there is none (or the form is hidden). The pages not shown at the start are made this
  // way once the form has painted, one at a time between messages, or when first shown.
  bool MakeNextPage();
  // Makes every page not made yet: before a modal box or dialog, whose own message loop
  // would leave them unmade while it runs.
  void MakeAllPages();
  // Whether a newly shown page still waits for Idle to give it the focus.
  bool focus_pending() const { return focus_page_ != nullptr; }

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  // Makes the windows of `control` and its children under `parent`; while the form's first
  // windows are made, a hidden page of a page control waits (unmade_pages_).
  void Create(ui::Control& control, HWND parent);
  void MakePage(ui::Control& page);
  bool IsHiddenPage(ui::Control& control) const;
  // Enters `control` and its children in by_id_, windows or not.
  void RegisterIds(ui::Control& control);
  HWND CreateFor(ui::Control& control, HWND parent);
  // What CreateWindowExW is not given: the font, check marks, list items, progress.
  void ApplyContent(ui::Control& control);
  void ApplyVisible(ui::Control& control);
  void ApplyBounds(ui::Control& control);
  void ApplyFont(ui::Control& control);
  void ApplyProgress(ui::ProgressBar& bar);
  void ApplyTimer(ui::Timer& timer);
  HFONT FontFor(const ui::Font& font);
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  bool EffectivelyShown(ui::Control& control) const;
  // Puts the windows of `parent`'s children into reading order, marks their groups and the
  // radio group's tab stop.
  void ApplyOrder(ui::Control& parent);
  void ApplyRadioTabStops(ui::Control& parent);
  HWND WindowOf(ui::Control* control) const;
  ui::Control* ControlOf(HWND hwnd) const;
  // The first shown button with the default role (or the cancel role), or nullptr.
  HWND ShownRoleButton(bool cancel) const;
  // The button Enter presses now, or nullptr: the focused button, else the shown default one.
  HWND DefaultButton() const;
  void FocusControl(HWND hwnd);
  void FocusFirstOfPage(ui::Control& page);
  bool Owns(HWND hwnd) const;
  // Dialog-manager messages the form and its containers answer; true when handled.
  bool OnDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

  LRESULT OnCommand(WPARAM wp, LPARAM lp);
  LRESULT OnContainerMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool* handled);
  void PaintSymbolLine(HWND hwnd, ui::Control& control);

  Win32Application& app_;
  ui::Form& form_;
  HWND form_hwnd_ = nullptr;
  int dpi_ = 96;
  std::map<ui::Control*, HWND> windows_;
  std::map<HWND, ui::Control*> controls_;
  std::map<int, ui::Control*> by_id_;
  // Pages not yet shown, made on first show, with the parent window they go under.
  std::map<ui::Control*, HWND> unmade_pages_;
  bool defer_hidden_pages_ = false;
  std::map<std::wstring, HFONT> fonts_;
  HBRUSH banner_brush_ = nullptr;
  bool syncing_text_ = false;
  // The page control whose newly shown page takes the focus at the next idle time.
  ui::PageControl* focus_page_ = nullptr;
  // The control that had the focus last, given it back when the form is activated again.
  HWND last_focus_ = nullptr;
};

}  // namespace quillon
