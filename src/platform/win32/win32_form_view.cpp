#include "platform/win32/win32_form_view.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "controls/SymbolLine.h"
#include "platform/win32/control_id.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_common_controls.h"
#include "platform/win32/win32_start_marks.h"

namespace quillon {

namespace {

const wchar_t kContainerClass[] = L"QuillonContainer";
const wchar_t kSymbolLineClass[] = L"TSymbolLine";
const UINT_PTR kTimerBase = 0x5100;

void RegisterClasses(HINSTANCE instance, const std::wstring& form_class) {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpfnWndProc = Win32FormView::FormProc;
  wc.lpszClassName = form_class.c_str();
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.lpfnWndProc = Win32FormView::ContainerProc;
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kSymbolLineClass;
  RegisterClassExW(&wc);
}

Win32FormView* ViewOf(HWND hwnd) {
  // Every window of a form view stores the view in its user data.
  return reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Controls in reading order: rows of controls that overlap the row's topmost control
// vertically, top to bottom, each row left to right.
std::vector<ui::Control*> ReadingOrder(std::vector<ui::Control*> controls) {
  std::stable_sort(controls.begin(), controls.end(), [](ui::Control* a, ui::Control* b) {
    return a->top() != b->top() ? a->top() < b->top() : a->left() < b->left();
  });
  for (size_t row = 0; row < controls.size();) {
    const int bottom = controls[row]->top() + controls[row]->height();
    size_t end = row + 1;
    while (end < controls.size() && controls[end]->top() < bottom) ++end;
    std::stable_sort(controls.begin() + row, controls.begin() + end,
                     [](ui::Control* a, ui::Control* b) { return a->left() < b->left(); });
    row = end;
  }
  return controls;
}

// The first tab stop under `parent` in tab order that is shown and enabled, looking into
// nested control parents; nullptr when none.
HWND FirstTabStop(HWND parent) {
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
    if (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      if (HWND inner = FirstTabStop(w)) return inner;
    } else if (GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP) {
      return w;
    }
  }
  return nullptr;
}

void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const LONG_PTR wanted = on ? style | bit : style & ~bit;
  if (wanted != style) SetWindowLongPtrW(hwnd, GWL_STYLE, wanted);
}

// The licence memo is read-only: it lets the dialog keys through, so Tab moves on and Enter
// and Esc reach the default and cancel buttons. (A multi-line edit box asks for every key,
// and on Esc it would post a close request to the page it sits on.) Subclassed the classic
// way, which needs nothing from the common controls library; every memo is an EDIT, so one
// original procedure serves them all.
WNDPROC edit_proc = nullptr;

LRESULT CALLBACK MemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = CallWindowProcW(edit_proc, hwnd, msg, wp, lp);
  if (msg == WM_GETDLGCODE) r &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  return r;
}

void SubclassMemo(HWND hwnd) {
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MemoProc)));
  if (!edit_proc) edit_proc = previous;
}

}  // namespace

Win32FormView::Win32FormView(Win32Application& app, ui::Form& form) : app_(app), form_(form) {
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;
  banner_brush_ = CreateSolidBrush(GetSysColor(COLOR_WINDOW));

  const std::wstring form_class = L"T" + form.name();
  RegisterClasses(app.instance(), form_class);

  RECT rc{0, 0, Scale(form.width()), Scale(form.height())};
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&rc, style, FALSE, WS_EX_CONTROLPARENT);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  form_hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, form_class.c_str(), form.caption().c_str(),
                               style, x, y, w, h, app.window(), nullptr, app.instance(), nullptr);
  SetWindowLongPtrW(form_hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  form.SetWindowHandle(form_hwnd_);
  windows_[&form] = form_hwnd_;
  controls_[form_hwnd_] = &form;
  defer_hidden_pages_ = true;
  for (ui::Control* child : form.children()) Create(*child, form_hwnd_);
  defer_hidden_pages_ = false;
  // Controls owned by the form but not parented under it (none today) would be skipped.
  ApplyOrder(form);
  ApplyFont(form);
  form.SetObserver(this);
}

Win32FormView::~Win32FormView() {
  form_.SetObserver(nullptr);
  form_.SetWindowHandle(nullptr);
  if (form_hwnd_ && IsWindow(form_hwnd_)) DestroyWindow(form_hwnd_);
  for (auto& f : fonts_) DeleteObject(f.second);
  if (banner_brush_) DeleteObject(banner_brush_);
}

HFONT Win32FormView::FontFor(const ui::Font& font) {
  const std::wstring key = font.name + L"/" + IntToText(font.size);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(font.size, dpi_, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
  HFONT f = CreateFontIndirectW(&lf);
  fonts_[key] = f;
  return f;
}

HWND Win32FormView::CreateFor(ui::Control& c, HWND parent) {
  const wchar_t* cls = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex = 0;
  std::wstring text = c.caption();
  switch (c.kind()) {
    case ui::Kind::Label:
      cls = L"STATIC";
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case ui::Kind::Button:
      cls = L"BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ui::Kind::Edit: {
      auto& e = static_cast<ui::Edit&>(c);
      cls = L"EDIT";
      style |= ES_AUTOHSCROLL | WS_TABSTOP | (e.password ? ES_PASSWORD : 0);
      ex = WS_EX_CLIENTEDGE;
      text = e.text();
      break;
    }
    case ui::Kind::Memo:
      cls = L"EDIT";
      style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP;
      ex = WS_EX_CLIENTEDGE;
      text = static_cast<ui::Memo&>(c).text();
      break;
    case ui::Kind::RadioButton:
      cls = L"BUTTON";
      style |= BS_RADIOBUTTON | WS_TABSTOP;
      break;
    case ui::Kind::CheckBox:
      cls = L"BUTTON";
      style |= BS_CHECKBOX | WS_TABSTOP;
      break;
    case ui::Kind::ComboBox:
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      text.clear();
      break;
    case ui::Kind::ProgressBar:
      LoadProgressBarClass();  // without it the bar is not made; the install goes on
      cls = PROGRESS_CLASSW;
      text.clear();
      break;
    case ui::Kind::Custom:
      cls = kSymbolLineClass;
      text.clear();
      break;
    case ui::Kind::Timer:
    case ui::Kind::Form:
      return nullptr;
    default:  // page control, tab sheets, panels
      cls = kContainerClass;
      style |= WS_CLIPCHILDREN;
      ex = WS_EX_CONTROLPARENT;
      break;
  }
  // Made in place, in its state: every call on a window after its creation is a round trip to
  // the window server under Wine, and the start-up makes some fifty windows.
  if (!c.enabled()) style |= WS_DISABLED;
  if (EffectivelyShown(c)) style |= WS_VISIBLE;
  const int height = c.kind() == ui::Kind::ComboBox ? 200 : c.height();  // room for the list
  const int id = ControlIdOfName(c.name());
  HWND hwnd =
      CreateWindowExW(ex, cls, text.c_str(), style, Scale(c.left()), Scale(c.top()),
                      Scale(c.width()), Scale(height), parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance(), nullptr);
  if (cls == kContainerClass || cls == kSymbolLineClass) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (hwnd && c.kind() == ui::Kind::Memo) SubclassMemo(hwnd);
  return hwnd;
}

void Win32FormView::RegisterIds(ui::Control& c) {
  by_id_[ControlIdOfName(c.name())] = &c;
  for (ui::Control* child : c.children()) RegisterIds(*child);
}

void Win32FormView::MakePage(ui::Control& page) {
  auto unmade = unmade_pages_.find(&page);
  if (unmade == unmade_pages_.end()) return;
  const HWND parent = unmade->second;
  unmade_pages_.erase(unmade);
  Create(page, parent);
  ApplyOrder(*page.parent());
}

void Win32FormView::MakeAllPages() {
  while (!unmade_pages_.empty()) MakePage(*unmade_pages_.begin()->first);
}

bool Win32FormView::MakeNextPage() {
  if (unmade_pages_.empty() || !IsWindowVisible(form_hwnd_)) return false;
  MakePage(*unmade_pages_.begin()->first);
  return true;
}

bool Win32FormView::IsHiddenPage(ui::Control& c) const {
  return c.kind() == ui::Kind::TabSheet && c.parent() &&
         c.parent()->kind() == ui::Kind::PageControl && !EffectivelyShown(c);
}

void Win32FormView::Create(ui::Control& c, HWND parent) {
  if (defer_hidden_pages_ && IsHiddenPage(c)) {
    // A page not shown at the start is made later (MakeNextPage, or when it is shown): the
    // wizard's later pages hold most of its windows, and each window costs the start-up
    // round trips to the window server.
    unmade_pages_[&c] = parent;
    RegisterIds(c);
    return;
  }
  HWND hwnd = CreateFor(c, parent);
  if (c.kind() == ui::Kind::Timer) {
    by_id_[ControlIdOfName(c.name())] = &c;
    return;
  }
  if (!hwnd) return;
  windows_[&c] = hwnd;
  controls_[hwnd] = &c;
  by_id_[ControlIdOfName(c.name())] = &c;
  // Made in tab order (each new child window goes below its siblings), so that ApplyOrder
  // finds little or nothing to move.
  for (ui::Control* child : ReadingOrder(c.children())) Create(*child, hwnd);
  if (!c.children().empty()) ApplyOrder(c);
  ApplyContent(c);
}

HWND Win32FormView::WindowOf(ui::Control* control) const {
  auto it = windows_.find(control);
  return it == windows_.end() ? nullptr : it->second;
}

ui::Control* Win32FormView::ControlOf(HWND hwnd) const {
  auto it = controls_.find(hwnd);
  return it == controls_.end() ? nullptr : it->second;
}

bool Win32FormView::Owns(HWND hwnd) const {
  return hwnd && hwnd != form_hwnd_ && IsChild(form_hwnd_, hwnd);
}

void Win32FormView::ApplyOrder(ui::Control& parent) {
  std::vector<ui::Control*> shown;
  for (ui::Control* c : parent.children()) {
    if (WindowOf(c)) shown.push_back(c);
  }
  HWND after = HWND_TOP;
  ui::Control* previous = nullptr;
  for (ui::Control* c : ReadingOrder(shown)) {
    HWND hwnd = WindowOf(c);
    if (GetWindow(hwnd, GW_HWNDPREV) != (after == HWND_TOP ? nullptr : after)) {
      SetWindowPos(hwnd, after, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    after = hwnd;
    // Every control is a group of its own, except that radio buttons in a row make one, so
    // the dialog manager's arrow keys stay on a control.
    const bool continues_group =
        c->kind() == ui::Kind::RadioButton && previous && previous->kind() == ui::Kind::RadioButton;
    SetStyleBit(hwnd, WS_GROUP, !continues_group);
    previous = c;
  }
  ApplyRadioTabStops(parent);
}

void Win32FormView::ApplyRadioTabStops(ui::Control& parent) {
  // A radio group is one tab stop: its selected button, or its first one while none is.
  HWND parent_hwnd = WindowOf(&parent);
  if (!parent_hwnd) return;
  std::vector<HWND> radios;
  HWND stop = nullptr;
  for (HWND w = GetWindow(parent_hwnd, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    ui::Control* c = ControlOf(w);
    if (!c || c->kind() != ui::Kind::RadioButton) continue;
    radios.push_back(w);
    if (!stop && static_cast<ui::RadioButton*>(c)->checked()) stop = w;
  }
  if (radios.empty()) return;
  if (!stop) stop = radios.front();
  for (HWND w : radios) SetStyleBit(w, WS_TABSTOP, w == stop);
}

void Win32FormView::ApplyContent(ui::Control& c) {
  ApplyFont(c);
  HWND hwnd = windows_[&c];
  switch (c.kind()) {
    case ui::Kind::RadioButton:
      SendMessageW(hwnd, BM_SETCHECK, static_cast<ui::RadioButton&>(c).checked(), 0);
      break;
    case ui::Kind::CheckBox:
      SendMessageW(hwnd, BM_SETCHECK, static_cast<ui::CheckBox&>(c).checked(), 0);
      break;
    case ui::Kind::ComboBox:
      Changed(c, ui::Prop::Items);
      break;
    case ui::Kind::ProgressBar:
      ApplyProgress(static_cast<ui::ProgressBar&>(c));
      break;
    default:
      break;
  }
}

bool Win32FormView::EffectivelyShown(ui::Control& c) const {
  if (!c.visible()) return false;
  if (c.kind() == ui::Kind::TabSheet && c.parent() && c.parent()->kind() == ui::Kind::PageControl) {
    return static_cast<ui::PageControl*>(c.parent())->active_page() == &c;
  }
  return true;
}

void Win32FormView::ApplyVisible(ui::Control& c) {
  if (unmade_pages_.count(&c)) {
    if (EffectivelyShown(c)) MakePage(c);
    return;
  }
  auto it = windows_.find(&c);
  if (it == windows_.end()) return;
  ShowWindow(it->second, EffectivelyShown(c) ? SW_SHOWNA : SW_HIDE);
}

void Win32FormView::ApplyBounds(ui::Control& c) {
  if (&c == &form_) return;  // the form keeps its centred window position
  HWND hwnd = windows_[&c];
  int height = c.height();
  if (c.kind() == ui::Kind::ComboBox) height = 200;  // room for the drop-down list
  MoveWindow(hwnd, Scale(c.left()), Scale(c.top()), Scale(c.width()), Scale(height), TRUE);
}

void Win32FormView::ApplyFont(ui::Control& c) {
  auto it = windows_.find(&c);
  if (it == windows_.end()) return;
  // Timed for the start-up marks: a font's first use is where the system finds and loads it.
  const long long since = StartSpanBegin();
  SendMessageW(it->second, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font())), TRUE);
  StartSpan("fonts", since);
}

void Win32FormView::ApplyProgress(ui::ProgressBar& bar) {
  HWND hwnd = windows_[&bar];
  SendMessageW(hwnd, PBM_SETRANGE32, 0, bar.total_parts());
  SendMessageW(hwnd, PBM_SETPOS, bar.parts_complete(), 0);
}

void Win32FormView::ApplyTimer(ui::Timer& timer) {
  const UINT_PTR id = kTimerBase + ControlIdOfName(timer.name());
  if (timer.timer_enabled()) {
    SetTimer(form_hwnd_, id, static_cast<UINT>(timer.interval_ms), nullptr);
  } else {
    KillTimer(form_hwnd_, id);
  }
}

void Win32FormView::Changed(ui::Control& c, ui::Prop what) {
  if (c.kind() == ui::Kind::Timer) {
    if (what == ui::Prop::TimerState) ApplyTimer(static_cast<ui::Timer&>(c));
    return;
  }
  auto it = windows_.find(&c);
  if (it == windows_.end()) return;
  HWND hwnd = it->second;
  switch (what) {
    case ui::Prop::Caption:
      if (c.kind() == ui::Kind::Custom) {
        InvalidateRect(hwnd, nullptr, TRUE);
      } else {
        SetWindowTextW(hwnd, c.caption().c_str());
      }
      break;
    case ui::Prop::Text:
      if (!syncing_text_) SetWindowTextW(hwnd, static_cast<ui::Edit&>(c).text().c_str());
      break;
    case ui::Prop::Lines:
      SetWindowTextW(hwnd, static_cast<ui::Memo&>(c).text().c_str());
      break;
    case ui::Prop::Visible:
      if (&c == &form_) {
        ShowWindow(hwnd, c.visible() ? SW_SHOW : SW_HIDE);
        if (c.visible()) SetForegroundWindow(hwnd);
      } else {
        ApplyVisible(c);
      }
      break;
    case ui::Prop::Enabled:
      EnableWindow(hwnd, c.enabled());
      break;
    case ui::Prop::Checked:
      if (c.kind() == ui::Kind::RadioButton) {
        SendMessageW(hwnd, BM_SETCHECK, static_cast<ui::RadioButton&>(c).checked(), 0);
        if (c.parent()) ApplyRadioTabStops(*c.parent());
      } else if (c.kind() == ui::Kind::CheckBox) {
        SendMessageW(hwnd, BM_SETCHECK, static_cast<ui::CheckBox&>(c).checked(), 0);
      }
      break;
    case ui::Prop::Items: {
      auto& combo = static_cast<ui::ComboBox&>(c);
      SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
      for (const auto& item : combo.items()) {
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
      SendMessageW(hwnd, CB_SETCURSEL, combo.item_index(), 0);
      break;
    }
    case ui::Prop::ItemIndex:
      SendMessageW(hwnd, CB_SETCURSEL, static_cast<ui::ComboBox&>(c).item_index(), 0);
      break;
    case ui::Prop::Bounds:
      ApplyBounds(c);
      if (c.parent()) ApplyOrder(*c.parent());
      break;
    case ui::Prop::Font:
      ApplyFont(c);
      break;
    case ui::Prop::ActivePage:
      for (ui::Control* page : c.children()) ApplyVisible(*page);
      // The focus moves once the action that changed the page has ended and the buttons
      // have been brought up to date.
      focus_page_ = static_cast<ui::PageControl*>(&c);
      break;
    case ui::Prop::Progress:
      ApplyProgress(static_cast<ui::ProgressBar&>(c));
      break;
    case ui::Prop::TopMost:
      SetWindowPos(hwnd, form_.top_most() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case ui::Prop::Repaint:
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      break;
    case ui::Prop::Closed:
      if (&c == &form_) {
        ShowWindow(hwnd, SW_HIDE);
        PostMessageW(nullptr, WM_NULL, 0, 0);  // wake the loop so it sees the close
      }
      break;
    default:
      break;
  }
}

HWND Win32FormView::ShownRoleButton(bool cancel) const {
  for (const auto& c : form_.controls()) {
    if (c->kind() != ui::Kind::Button) continue;
    const auto& button = static_cast<const ui::Button&>(*c);
    if (!(cancel ? button.is_cancel : button.is_default)) continue;
    HWND hwnd = WindowOf(c.get());
    if (hwnd && IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

HWND Win32FormView::DefaultButton() const {
  HWND focus = GetFocus();
  ui::Control* focused = ControlOf(focus);
  if (focused && focused->kind() == ui::Kind::Button && IsWindowVisible(focus)) return focus;
  return ShownRoleButton(false);
}

void Win32FormView::FocusControl(HWND hwnd) {
  SetFocus(hwnd);
  ui::Control* c = ControlOf(hwnd);
  // As in a dialog, a box reached from the keyboard has its text selected.
  if (c && c->kind() == ui::Kind::Edit) SendMessageW(hwnd, EM_SETSEL, 0, -1);
  if (Owns(hwnd)) last_focus_ = hwnd;
}

void Win32FormView::FocusFirstOfPage(ui::Control& page) {
  HWND target = FirstTabStop(WindowOf(&page));
  if (!target) {
    // A page without controls to use hands the focus to its default button; while that is
    // disabled the form itself keeps it, so that the keys still reach the dialog manager.
    HWND fallback = ShownRoleButton(false);
    target = fallback && IsWindowEnabled(fallback) ? fallback : form_hwnd_;
  }
  if (GetActiveWindow() == form_hwnd_) {
    FocusControl(target);
  } else if (Owns(target)) {
    last_focus_ = target;  // taken when the form is activated
  }
}

bool Win32FormView::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  const bool back = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
  if (!back && msg.wParam != VK_RIGHT && msg.wParam != VK_DOWN) return false;
  ui::Control* c = ControlOf(msg.hwnd);
  if (!c || c->kind() != ui::Kind::RadioButton || !c->parent()) return false;
  // The arrow keys select the previous or next usable button of the radio group, wrapping.
  std::vector<HWND> group;
  for (HWND w = GetWindow(WindowOf(c->parent()), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    ui::Control* sibling = ControlOf(w);
    if (sibling && sibling->kind() == ui::Kind::RadioButton && IsWindowVisible(w) &&
        IsWindowEnabled(w)) {
      group.push_back(w);
    }
  }
  auto at = std::find(group.begin(), group.end(), msg.hwnd);
  if (at == group.end()) return true;
  const size_t n = group.size();
  const size_t index = static_cast<size_t>(at - group.begin());
  HWND next = group[(index + (back ? n - 1 : 1)) % n];
  if (next == msg.hwnd) return true;
  FocusControl(next);
  auto* radio = static_cast<ui::RadioButton*>(ControlOf(next));
  app_.Dispatch([radio] { radio->Click(); });
  return true;
}

void Win32FormView::AfterMessage() {
  HWND focus = GetFocus();
  if (Owns(focus)) last_focus_ = focus;
  // The default-button look goes where Enter would act. The dialog manager also restyles
  // buttons when Tab moves the focus; this puts its choice back in line.
  HWND def = DefaultButton();
  for (const auto& entry : windows_) {
    if (entry.first->kind() != ui::Kind::Button) continue;
    const LONG_PTR wanted = entry.second == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongPtrW(entry.second, GWL_STYLE) & BS_TYPEMASK) != wanted) {
      SendMessageW(entry.second, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
    }
  }
}

void Win32FormView::Idle() {
  if (focus_page_ && IsWindowVisible(form_hwnd_)) {
    ui::PageControl* pages = focus_page_;
    focus_page_ = nullptr;
    if (ui::TabSheet* page = pages->active_page()) FocusFirstOfPage(*page);
  }
  AfterMessage();
}

bool Win32FormView::OnDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case DM_GETDEFID: {
      // Asked by the dialog manager on Enter (and by edit boxes): the button Enter presses.
      HWND def = DefaultButton();
      *result = def ? MAKELRESULT(GetDlgCtrlID(def), DC_HASDEFID) : 0;
      return true;
    }
    case WM_NEXTDLGCTL: {
      HWND from = Owns(GetFocus()) ? GetFocus() : nullptr;
      HWND target =
          LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(form_hwnd_, from, wp != 0);
      if (target && (target == form_hwnd_ || Owns(target))) FocusControl(target);
      *result = 0;
      return true;
    }
    default:
      return false;
  }
}

LRESULT Win32FormView::OnCommand(WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if (lp == 0 && code == 0 && (id == IDOK || id == IDCANCEL)) {
    // Enter without a default button, and Esc: the dialog manager's commands. A key presses
    // its button as a click does, and only while the button is shown and enabled.
    HWND button = id == IDOK ? DefaultButton() : ShownRoleButton(true);
    ui::Control* c = ControlOf(button);
    if (c && IsWindowEnabled(button)) {
      app_.Dispatch([c] { static_cast<ui::Button*>(c)->Click(); });
    }
    return 0;
  }
  auto it = by_id_.find(id);
  if (it == by_id_.end() || lp == 0) return 0;
  ui::Control* c = it->second;
  switch (c->kind()) {
    case ui::Kind::Button:
      if (code == BN_CLICKED) app_.Dispatch([c] { static_cast<ui::Button*>(c)->Click(); });
      break;
    case ui::Kind::RadioButton:
      if (code == BN_CLICKED) app_.Dispatch([c] { static_cast<ui::RadioButton*>(c)->Click(); });
      break;
    case ui::Kind::CheckBox:
      if (code == BN_CLICKED) app_.Dispatch([c] { static_cast<ui::CheckBox*>(c)->Click(); });
      break;
    case ui::Kind::Edit:
      if (code == EN_CHANGE) {
        HWND hwnd = reinterpret_cast<HWND>(lp);
        std::vector<wchar_t> buf(GetWindowTextLengthW(hwnd) + 1);
        GetWindowTextW(hwnd, buf.data(), static_cast<int>(buf.size()));
        const std::wstring text(buf.data());
        auto* edit = static_cast<ui::Edit*>(c);
        if (text != edit->text()) {
          syncing_text_ = true;
          app_.Dispatch([edit, &text] { edit->SetText(text); });
          syncing_text_ = false;
        }
      }
      break;
    case ui::Kind::ComboBox:
      if (code == CBN_SELCHANGE) {
        const int index =
            static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lp), CB_GETCURSEL, 0, 0));
        app_.Dispatch([c, index] { static_cast<ui::ComboBox*>(c)->Choose(index); });
      }
      break;
    default:
      break;
  }
  return 0;
}

void Win32FormView::PaintSymbolLine(HWND hwnd, ui::Control& c) {
  auto& line = static_cast<TSymbolLine&>(c);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  // The caption is measured with the canvas's own font, not the control's.
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{0, 0};
  GetTextExtentPoint32W(dc, line.Caption().c_str(), static_cast<int>(line.Caption().size()),
                        &extent);
  SelectObject(dc, old_font);
  const SymbolLineGeometry geometry =
      line.Paint(MulDiv(extent.cx, 96, dpi_), MulDiv(extent.cy, 96, dpi_));

  // The label shows the caption in the control's font, greyed while disabled.
  auto label = windows_.find(line.label());
  if (label != windows_.end()) {
    HDC label_dc = GetDC(label->second);
    HGDIOBJ old = SelectObject(label_dc, FontFor(line.font()));
    SIZE label_extent{0, 0};
    GetTextExtentPoint32W(label_dc, line.Caption().c_str(), static_cast<int>(line.Caption().size()),
                          &label_extent);
    SelectObject(label_dc, old);
    ReleaseDC(label->second, label_dc);
    MoveWindow(label->second, 0, 0, label_extent.cx + 2, label_extent.cy, TRUE);
  }

  FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  for (const SymbolLineStroke& stroke : geometry.strokes) {
    HPEN pen =
        CreatePen(PS_SOLID, 1,
                  GetSysColor(stroke.colour == LineColour::ButtonShadow ? COLOR_BTNSHADOW
                                                                        : COLOR_BTNHIGHLIGHT));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    MoveToEx(dc, Scale(stroke.x_start), Scale(stroke.y), nullptr);
    LineTo(dc, Scale(stroke.x_end), Scale(stroke.y));
    SelectObject(dc, old_pen);
    DeleteObject(pen);
  }
  EndPaint(hwnd, &ps);
}

LRESULT Win32FormView::OnContainerMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                          bool* handled) {
  *handled = true;
  LRESULT dialog_result = 0;
  if (OnDialogMessage(msg, wp, lp, &dialog_result)) return dialog_result;
  switch (msg) {
    case WM_COMMAND:
      return OnCommand(wp, lp);
    case WM_CLOSE:
      return 0;  // a page or panel is never closed on its own
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto it = controls_.find(hwnd);
      if (it != controls_.end() && it->second->kind() == ui::Kind::Panel &&
          static_cast<ui::Panel*>(it->second)->banner) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(banner_brush_);
      }
      *handled = false;
      return 0;
    }
    case WM_ERASEBKGND: {
      auto it = controls_.find(hwnd);
      if (it != controls_.end() && it->second->kind() == ui::Kind::Panel &&
          static_cast<ui::Panel*>(it->second)->banner) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, banner_brush_);
        return 1;
      }
      *handled = false;
      return 0;
    }
    case WM_PAINT: {
      auto it = controls_.find(hwnd);
      if (it == controls_.end()) break;
      if (it->second->kind() == ui::Kind::Custom) {
        PaintSymbolLine(hwnd, *it->second);
        return 0;
      }
      if (it->second->kind() == ui::Kind::Panel && !it->second->caption().empty()) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = SelectObject(dc, FontFor(it->second->font()));
        DrawTextW(dc, it->second->caption().c_str(), -1, &rc,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        EndPaint(hwnd, &ps);
        return 0;
      }
      break;
    }
    default:
      break;
  }
  *handled = false;
  return 0;
}

LRESULT CALLBACK Win32FormView::ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (Win32FormView* view = ViewOf(hwnd)) {
    bool handled = false;
    const LRESULT r = view->OnContainerMessage(hwnd, msg, wp, lp, &handled);
    if (handled) return r;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32FormView::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Win32FormView* view = ViewOf(hwnd);
  if (!view) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_CLOSE:
      // A close request goes through the form's close rule; a refused one changes nothing.
      view->app_.Dispatch([view] { view->form_.Close(); });
      return 0;
    case WM_COMMAND:
      return view->OnCommand(wp, lp);
    case DM_GETDEFID:
    case WM_NEXTDLGCTL: {
      LRESULT r = 0;
      view->OnDialogMessage(msg, wp, lp, &r);
      return r;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        if (view->Owns(GetFocus())) view->last_focus_ = GetFocus();
      } else if (!HIWORD(wp)) {
        // Activated again: the control that had the focus takes it back, as in a dialog.
        HWND f = view->last_focus_;
        if (f && IsWindow(f) && view->Owns(f) && IsWindowVisible(f) && IsWindowEnabled(f)) {
          SetFocus(f);
          return 0;
        }
      }
      break;
    case WM_TIMER: {
      auto it = view->by_id_.find(static_cast<int>(wp - kTimerBase));
      if (it != view->by_id_.end() && it->second->kind() == ui::Kind::Timer) {
        auto* timer = static_cast<ui::Timer*>(it->second);
        view->app_.Dispatch([timer] { timer->Fire(); });
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      bool handled = false;
      const LRESULT r = view->OnContainerMessage(hwnd, msg, wp, lp, &handled);
      if (handled) return r;
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace quillon
