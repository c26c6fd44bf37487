#pragma once
// Shows a form of the widget model with real Win32 controls: one window per model control,
// kept in step through the model's change notifications, and real events (clicks, typing,
// choices, timer ticks, close requests) fed back through the model's own methods. The layout
// is scaled from 96 DPI to the system DPI.

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

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Create(ui::Control& control, HWND parent);
  HWND CreateFor(ui::Control& control, HWND parent);
  void ApplyAll(ui::Control& control);
  void ApplyVisible(ui::Control& control);
  void ApplyBounds(ui::Control& control);
  void ApplyFont(ui::Control& control);
  void ApplyProgress(ui::ProgressBar& bar);
  void ApplyTimer(ui::Timer& timer);
  HFONT FontFor(const ui::Font& font);
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  bool EffectivelyShown(ui::Control& control) const;

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
  std::map<std::wstring, HFONT> fonts_;
  HBRUSH banner_brush_ = nullptr;
  bool syncing_text_ = false;
};

}  // namespace quillon
