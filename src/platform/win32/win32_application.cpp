#include "platform/win32/win32_application.h"

#include <shlobj.h>

#include <vector>

#include "base/error.h"
#include "controls/widgets.h"
#include "platform/win32/win32_com_apartment.h"
#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_late_imports.h"
#include "platform/win32/win32_start_marks.h"

namespace quillon {

namespace {

const wchar_t kAppClass[] = L"QuillonApplication";

LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

Win32Application::Win32Application(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.lpfnWndProc = AppProc;
  wc.lpszClassName = kAppClass;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  RegisterClassExW(&wc);
  // The application window: zero-sized, it only carries the title and the taskbar button,
  // and owns the main form and the message boxes.
  const int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
  window_ = CreateWindowExW(0, kAppClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            cx, cy, 0, 0, nullptr, nullptr, instance, nullptr);
}

Win32Application::~Win32Application() {
  view_.reset();
  if (window_) DestroyWindow(window_);
}

void Win32Application::SetTitle(const std::wstring& title) {
  title_ = title;
  SetWindowTextW(window_, title.c_str());
}

MsgResult Win32Application::ShowMessageBox(const std::wstring& text, const std::wstring& caption,
                                           MsgIcon icon, MsgButtons buttons) {
  UINT flags = MB_APPLMODAL | MB_SETFOREGROUND;
  flags |= buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
  flags |= icon == MsgIcon::None          ? 0
           : icon == MsgIcon::Information ? MB_ICONINFORMATION
           : icon == MsgIcon::Question    ? MB_ICONQUESTION
                                          : MB_ICONERROR;
  HWND owner = window_;
  if (view_) view_->MakeAllPages();
  if (view_ && IsWindowVisible(view_->form_window())) owner = view_->form_window();
  const int r = ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
  if (r == IDYES) return MsgResult::Yes;
  if (r == IDNO) return MsgResult::No;
  return MsgResult::Ok;
}

bool Win32Application::DispatchOne(MSG& msg) {
  if (msg.message == WM_QUIT) return false;
  HWND form = view_ ? view_->form_window() : nullptr;
  // The form's own keys first, then the dialog manager: Tab, Enter, Esc and the arrow keys
  // work on the form as in a dialog box.
  if (!(view_ && view_->PreTranslate(msg)) && (!form || !IsDialogMessageW(form, &msg))) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (view_) view_->AfterMessage();
  return true;
}

void Win32Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!DispatchOne(msg)) {
      ended_ = true;
      break;
    }
  }
}

void Win32Application::Beep() {
  MessageBeep(MB_OK);
}

namespace {

BOOL CALLBACK CollectEnabledTopWindow(HWND hwnd, LPARAM lp) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

bool Win32Application::SelectFolder(const std::wstring& title, std::wstring* path) {
  // The picker is modal to its owner only: the application's other windows are disabled by
  // hand while it is open, and given back afterwards (those that still exist). Disabling a
  // window takes the focus from it, so the focused control is remembered too.
  if (view_) view_->MakeAllPages();
  HWND active = GetActiveWindow();
  HWND focus = GetFocus();
  HWND owner = active;
  if (view_ && IsWindowVisible(view_->form_window())) owner = view_->form_window();
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledTopWindow,
                    reinterpret_cast<LPARAM>(&disabled));
  for (HWND w : disabled) EnableWindow(w, FALSE);

  wchar_t chosen[MAX_PATH] = L"";
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.pidlRoot = nullptr;  // the desktop
  bi.pszDisplayName = chosen;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  EnterComApartment();
  LPITEMIDLIST item = late::SHBrowseForFolderW(&bi);
  bool ok = false;
  if (item) {
    wchar_t full[MAX_PATH] = L"";
    ok = late::SHGetPathFromIDListW(item, full) != FALSE;
    if (ok) *path = full;
    late::CoTaskMemFree(item);
  }

  for (HWND w : disabled) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  // The picker went away while its owner was disabled, so Windows may have activated another
  // application's window: the previously active window is brought back to the front.
  if (active && IsWindow(active)) {
    SetForegroundWindow(active);
    SetActiveWindow(active);
    if (focus && IsWindow(focus) && IsWindowVisible(focus) && IsWindowEnabled(focus)) {
      SetFocus(focus);
    }
  }
  return ok;
}

void Win32Application::Dispatch(const std::function<void()>& event) {
  try {
    HandleEvent(event);
  } catch (const ProgramEnd&) {
    ended_ = true;
    PostQuitMessage(0);
  } catch (...) {
    // Nothing may unwind through Windows' own frames.
    ShowError(ChooseText({L"发生了意外的错误", L"發生了意外的錯誤", L"Unexpected failure"}));
  }
}

bool Win32Application::RunIdle(ui::Form& form) {
  // The application's idle event, then the form's own idle work (the focus of a newly shown
  // page), which needs the button states the idle event set.
  if (OnIdle()) Dispatch(OnIdle().run);
  if (terminate_requested()) ended_ = true;
  if (form.closed() || ended_) return false;
  view_->Idle();
  return true;
}

void Win32Application::RunMainForm(ui::Form& form, const std::function<void()>& form_show) {
  StartMark("form-created");
  // A run that shows no window shows no taskbar button either.
  if (!windows_hidden()) ShowWindow(window_, SW_SHOWNOACTIVATE);
  view_ = std::make_unique<Win32FormView>(*this, form);
  StartMark("windows");
  // The form's show event runs before the window appears on screen; it may end the program.
  try {
    HandleEvent(form_show);
  } catch (const ProgramEnd&) {
    ended_ = true;
  }
  StartMark("form-shown");
  if (terminate_requested()) ended_ = true;
  if (!form.closed() && !ended_ && !windows_hidden()) form.SetVisible(true);
  StartMark("visible");
  // The queue first found empty after the form shows: every window has had its first paint.
  bool painted = false;
  while (!form.closed() && !ended_) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // A key typed ahead finds what it would find had the queue emptied before it: the
      // button update and the focus of a newly shown page come first.
      if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && view_->focus_pending()) {
        if (!RunIdle(form)) break;
      }
      if (!DispatchOne(msg)) break;
      continue;
    }
    if (!painted) {
      painted = true;
      StartMark("painted");
    }
    if (!RunIdle(form)) break;
    // The pages not shown yet are made one at a time while no message waits.
    if (view_->MakeNextPage()) continue;
    WaitMessage();
  }
  view_.reset();
}

}  // namespace quillon
