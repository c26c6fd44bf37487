// e2e_driver: drives the real installer window the way a person does, from a script.
// It starts the program, finds the wizard's controls by the names the code gives them, reads
// their texts, presses buttons, answers message boxes and takes screenshots.
//
// Script: one command per line, words separated by blanks, "double quotes" group a word
// (UTF-8; \" is a quote). Lines starting with # are comments. Commands:
//   launch EXE [ARGS...]             start the program (arguments quoted to arrive as given)
//   wait-form SECONDS                wait until the wizard window is visible
//   expect-caption TEXT              the wizard window's caption
//   expect-title TEXT                the application window's title (taskbar, message boxes)
//   expect-no-form                   no wizard window is shown
//   expect-client-size W H           the wizard window's client area in pixels
//   expect-text NAME TEXT            a control's text
//   expect-contains NAME TEXT        a control's text contains TEXT
//   expect-visible NAME 0|1          a control is (not) visible
//   expect-enabled NAME 0|1          a control is (not) enabled (within 5 s: the buttons'
//                                    state follows the first idle moment after an event)
//   click NAME                       press a button, radio button or check box
//   set-text NAME TEXT               type into an edit box
//   choose NAME INDEX                choose an item of a combo box
//   close                            ask the wizard window to close (close box, Alt+F4)
//   expect-alive SECONDS             after that time the program still runs, window shown
//   wait-msgbox SECONDS CAPTION TEXT a message box with that caption whose text contains TEXT
//   answer BUTTON                    press ok, yes or no in the message box
//   wait-exit SECONDS [CODE]         the program ends (with that exit code)
//   wait-exit-unseen SECONDS CODE    the program ends with that exit code, and no window of
//                                    it is visible at any moment meanwhile (looked for every
//                                    20 ms, a window of any class)
//   launch-second EXE [ARGS...]      start a second copy beside the first
//   wait-exit-second SECONDS CODE    the second copy ends with that exit code
//   wait-text SECONDS NAME TEXT      wait until a control's text is TEXT
//   wait-contains SECONDS NAME TEXT  wait until a control's text contains TEXT
//   wait-visible SECONDS NAME 0|1    wait until a control is (not) visible
//   wait-hidden SECONDS              wait until the wizard window is no longer shown
//                                    (the wait-* commands fail at once when a message box
//                                    shows or the program ends before the condition holds)
//   expect-msgbox-text TEXT          the whole text of the message box last waited for
//   expect-msgbox-icon ICON          its icon: stop, information, question, warning or no
//   save-text NAME FILE              write a control's text (UTF-8) to FILE
//   expect-reg KEY NAME TEXT         a REG_SZ value (KEY: HKCU\... or HKLM\..., 64-bit view)
//   expect-no-reg KEY NAME           no such value (or no such key)
//   expect-reg-dword KEY NAME N      a REG_DWORD value holding the decimal number N
//   expect-reg-count KEY N           the key holds N values
//   expect-no-key KEY                no such key
//   expect-exists PATH 0|1           a file or folder does (not) exist
//   hold PATH                        open a file without sharing, as a running program does
//   release                          close the held file
//   key NAME                         a key pressed and released in the focused window of
//                                    the program: enter, escape, tab, shift-tab, space, up,
//                                    down, left or right
//   expect-focus NAME                the control has the keyboard focus
//   expect-default NAME              the control is the one shown button with the
//                                    default-button look
//                                    (these two allow the program 5 s to settle: the focus
//                                    of a new page is set once its queue has emptied)
//   wait-active SECONDS              wait until the wizard window is the active, foreground
//                                    window (activation follows the X server's focus events)
//   expect-form-enabled 0|1          the wizard window is (not) enabled
//   wait-dialog SECONDS              a dialog box of the program (the folder picker);
//                                    answer then presses its buttons (also: cancel)
//   expect-dialog-text TEXT          a control of that dialog box reads TEXT
//   expect-folder-text NAME FOLDER   a control's text is the full path of a special folder
//                                    of the user (FOLDER: desktop)
//   shot FILE.bmp                    save the whole screen
//   sleep MS
#include <windows.h>
// The shell's header after windows.h, which it needs.
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/control_id.h"

namespace {

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string tok;
    if (line[i] == '"') {
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '"') ++i;
        tok += line[i++];
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        tok += line[i++];
      }
    }
    out.push_back(tok);
  }
  return out;
}

struct Driver {
  PROCESS_INFORMATION pi{};
  PROCESS_INFORMATION second{};
  HWND form = nullptr;
  HWND msgbox = nullptr;
  HANDLE held = INVALID_HANDLE_VALUE;
  std::string failure;

  bool Fail(const std::string& why) {
    failure = why;
    return false;
  }

  struct Search {
    DWORD pid;
    const wchar_t* cls;
    bool visible_only;
    HWND found;
  };

  static BOOL CALLBACK FindTop(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid) return TRUE;
    wchar_t cls[128];
    GetClassNameW(hwnd, cls, 128);
    if (lstrcmpW(cls, s->cls) != 0) return TRUE;
    if (s->visible_only && !IsWindowVisible(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
  }

  HWND Top(const wchar_t* cls, bool visible_only) {
    Search s{pi.dwProcessId, cls, visible_only, nullptr};
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }

  static std::wstring Text(HWND hwnd) {
    wchar_t buf[8192];
    buf[0] = 0;
    // WM_GETTEXT works across processes for every window class.
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 5000,
                        nullptr);
    return buf;
  }

  struct ChildSearch {
    int id;
    HWND found;
  };
  static BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(hwnd) == s->id) {
      s->found = hwnd;
      return FALSE;
    }
    return TRUE;
  }

  // The control's window, waiting up to 5 s for it while the program runs: the wizard makes
  // the windows of the pages it does not show at first once its window has painted.
  HWND Control(const std::string& name) {
    if (!form) return nullptr;
    const DWORD until = GetTickCount() + 5000;
    for (;;) {
      ChildSearch s{quillon::ControlIdOfName(Wide(name)), nullptr};
      EnumChildWindows(form, FindChild, reinterpret_cast<LPARAM>(&s));
      if (s.found || GetTickCount() >= until || !Running()) return s.found;
      Sleep(20);
    }
  }

  bool Running() { return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }

  struct AnyVisible {
    DWORD pid;
    HWND found;
  };
  static BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<AnyVisible*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
  }

  bool Start(const std::vector<std::string>& t, PROCESS_INFORMATION* info) {
    std::wstring line = L"\"" + Wide(t[1]) + L"\"";
    for (size_t i = 2; i < t.size(); ++i) line += L" " + Quoted(Wide(t[i]));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        info)) {
      return Fail("cannot start " + t[1]);
    }
    return true;
  }

  bool ExitCodeIs(HANDLE process, const std::string& want) {
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code == static_cast<DWORD>(std::stoul(want)) ||
           Fail("exit code " + std::to_string(code));
  }

  // An argument as the installer reads its command line: quoted, backslashes as they are, a
  // quote doubled.
  static std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    for (wchar_t c : arg) out += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
    return out + L"\"";
  }

  // A window for a failure message: its class and text.
  static std::string Describe(HWND hwnd) {
    if (!hwnd) return "no window";
    wchar_t cls[128] = L"";
    GetClassNameW(hwnd, cls, 128);
    return Narrow(cls) + " \"" + Narrow(Text(hwnd)) + "\"";
  }

  static BOOL CALLBACK CollectDefaultButton(HWND hwnd, LPARAM lp) {
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Button") == 0 && IsWindowVisible(hwnd) &&
        (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    }
    return TRUE;
  }

  static BOOL CALLBACK FindText(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<std::pair<std::wstring, bool>*>(lp);
    if (Text(hwnd) == search->first) {
      search->second = true;
      return FALSE;
    }
    return TRUE;
  }

  // Posts a key's press and release to the window that has the program's keyboard focus (its
  // active window when none has), as the keyboard would deliver them. For Shift+Tab the Shift
  // key is held down in the program's key state meanwhile, which the dialog manager reads.
  bool Key(const std::string& name) {
    struct KeyName {
      const char* name;
      UINT vk;
      bool shift;
    };
    static const KeyName kKeys[] = {
        {"enter", VK_RETURN, false}, {"escape", VK_ESCAPE, false}, {"tab", VK_TAB, false},
        {"shift-tab", VK_TAB, true}, {"space", VK_SPACE, false},   {"up", VK_UP, false},
        {"down", VK_DOWN, false},    {"left", VK_LEFT, false},     {"right", VK_RIGHT, false},
    };
    const KeyName* key = nullptr;
    for (const KeyName& k : kKeys) {
      if (name == k.name) key = &k;
    }
    if (!key) return Fail("unknown key " + name);
    const DWORD thread = GetWindowThreadProcessId(form, nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    if (!GetGUIThreadInfo(thread, &gui)) return Fail("no keyboard state of the program");
    HWND target = gui.hwndFocus ? gui.hwndFocus : gui.hwndActive ? gui.hwndActive : form;

    BYTE saved[256] = {};
    const bool attached = key->shift && AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    if (key->shift) {
      if (!attached) return Fail("cannot share the program's key state");
      GetKeyboardState(saved);
      BYTE held[256];
      CopyMemory(held, saved, sizeof(held));
      held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
      SetKeyboardState(held);
    }
    const UINT scan = MapVirtualKeyW(key->vk, MAPVK_VK_TO_VSC);
    const bool extended = key->vk >= VK_LEFT && key->vk <= VK_DOWN;
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (extended ? 1 << 24 : 0);
    const LPARAM up = down | (1 << 30) | (static_cast<LPARAM>(1) << 31);
    PostMessageW(target, WM_KEYDOWN, key->vk, down);
    PostMessageW(target, WM_KEYUP, key->vk, up);
    // Time for the program to take both messages and act on them.
    Sleep(100);
    SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    Sleep(300);
    if (attached) {
      SetKeyboardState(saved);
      AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    }
    return true;
  }

  // Polls `holds` for up to `seconds`. A message box that shows meanwhile, or the end of the
  // program, fails the wait at once; `state` describes what was seen last.
  bool Await(const std::string& seconds, const std::function<bool()>& holds,
             const std::function<std::string()>& state) {
    const DWORD until = GetTickCount() + 1000 * std::stoi(seconds);
    for (;;) {
      if (holds()) return true;
      if (HWND box = Top(L"#32770", true)) {
        Sleep(200);
        return Fail("message box \"" + Narrow(Text(box)) + "\" says \"" +
                    Narrow(Text(GetDlgItem(box, 0xFFFF))) + "\"; " + state());
      }
      if (!Running()) return Fail("program ended; " + state());
      if (GetTickCount() >= until) return Fail("timed out; " + state());
      Sleep(50);
    }
  }

  // Splits "HKCU\path" or "HKLM\path" into its root and subkey.
  static bool RegPath(const std::string& key, HKEY* root, std::wstring* sub) {
    const std::wstring path = Wide(key);
    const size_t slash = path.find(L'\\');
    const std::wstring hive = path.substr(0, slash);
    *sub = slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
    if (hive == L"HKCU") {
      *root = HKEY_CURRENT_USER;
    } else if (hive == L"HKLM") {
      *root = HKEY_LOCAL_MACHINE;
    } else {
      return false;
    }
    return true;
  }

  // Reads a value from the 64-bit view; false when the key or the value is missing.
  static bool ReadReg(HKEY root, const std::wstring& sub, const std::wstring& name, DWORD* type,
                      std::wstring* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    DWORD size = 0;
    LONG r = RegQueryValueExW(key, name.c_str(), nullptr, type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
      std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
      r = RegQueryValueExW(key, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(buf.data()),
                           &size);
      value->assign(buf.c_str());
    }
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
  }

  bool Run(const std::vector<std::string>& t) {
    const std::string& cmd = t[0];
    auto need = [&](size_t n) { return t.size() >= n + 1; };
    if (cmd == "launch" && need(1)) return Start(t, &pi);
    if (cmd == "launch-second" && need(1)) return Start(t, &second);
    if (cmd == "wait-exit-second" && need(2)) {
      if (WaitForSingleObject(second.hProcess, 1000 * std::stoi(t[1])) != WAIT_OBJECT_0) {
        return Fail("the second copy is still running");
      }
      return ExitCodeIs(second.hProcess, t[2]);
    }
    if (cmd == "wait-exit-unseen" && need(2)) {
      const DWORD until = GetTickCount() + 1000 * std::stoi(t[1]);
      int looks = 0;
      for (;;) {
        AnyVisible v{pi.dwProcessId, nullptr};
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&v));
        if (v.found) return Fail("a window showed: " + Describe(v.found));
        ++looks;
        if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) break;
        if (GetTickCount() >= until) return Fail("program still running");
      }
      std::printf("e2e: looked for a window %d times while it ran\n", looks);
      return ExitCodeIs(pi.hProcess, t[2]);
    }
    if (cmd == "wait-form" && need(1)) {
      const DWORD until = GetTickCount() + 1000 * std::stoi(t[1]);
      while (GetTickCount() < until) {
        form = Top(L"TfrmClientInstall", true);
        if (form) return true;
        if (!Running()) return Fail("program ended before its window showed");
        Sleep(100);
      }
      return Fail("no wizard window");
    }
    if (cmd == "expect-caption" && need(1)) {
      const std::string got = Narrow(Text(form));
      return got == t[1] || Fail("caption is \"" + got + "\"");
    }
    if (cmd == "expect-client-size" && need(2)) {
      RECT rc{};
      GetClientRect(form, &rc);
      const std::string got = std::to_string(rc.right) + "x" + std::to_string(rc.bottom);
      return got == t[1] + "x" + t[2] || Fail("client area is " + got);
    }
    if (cmd == "expect-no-form") {
      return Top(L"TfrmClientInstall", true) == nullptr || Fail("a wizard window is shown");
    }
    if (cmd == "expect-title" && need(1)) {
      HWND app = Top(L"QuillonApplication", false);
      if (!app) return Fail("no application window");
      const std::string got = Narrow(Text(app));
      return got == t[1] || Fail("application title is \"" + got + "\"");
    }
    if ((cmd == "expect-text" || cmd == "expect-contains") && need(2)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      const std::string got = Narrow(Text(c));
      const bool ok = cmd == "expect-text" ? got == t[2] : got.find(t[2]) != std::string::npos;
      return ok || Fail(t[1] + " reads \"" + got + "\"");
    }
    if ((cmd == "expect-visible" || cmd == "expect-enabled") && need(2)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      const bool want = t[2] == "1";
      // The buttons' enabled state follows the first idle moment after an event.
      const DWORD until = GetTickCount() + (cmd == "expect-enabled" ? 5000 : 0);
      bool got;
      for (;;) {
        got = cmd == "expect-visible" ? IsWindowVisible(c) : IsWindowEnabled(c);
        if (got == want || GetTickCount() >= until) break;
        Sleep(50);
      }
      return got == want || Fail(cmd + " " + t[1] + " is " + (got ? "1" : "0"));
    }
    if (cmd == "click" && need(1)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      PostMessageW(c, BM_CLICK, 0, 0);
      Sleep(300);
      return true;
    }
    if (cmd == "set-text" && need(2)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      const std::wstring text = Wide(t[2]);
      SendMessageTimeoutW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK,
                          5000, nullptr);
      return true;
    }
    if (cmd == "choose" && need(2)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      SendMessageTimeoutW(c, CB_SETCURSEL, std::stoi(t[2]), 0, SMTO_BLOCK, 5000, nullptr);
      PostMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(c));
      Sleep(500);
      return true;
    }
    if (cmd == "close") {
      PostMessageW(form, WM_CLOSE, 0, 0);
      Sleep(300);
      return true;
    }
    if (cmd == "expect-alive" && need(1)) {
      Sleep(1000 * std::stoi(t[1]));
      if (!Running()) return Fail("program ended");
      if (!IsWindow(form) || !IsWindowVisible(form)) return Fail("window is gone");
      return true;
    }
    if (cmd == "wait-msgbox" && need(3)) {
      const DWORD until = GetTickCount() + 1000 * std::stoi(t[1]);
      while (GetTickCount() < until) {
        msgbox = Top(L"#32770", true);
        if (msgbox) break;
        Sleep(100);
      }
      if (!msgbox) return Fail("no message box");
      Sleep(200);
      const std::string caption = Narrow(Text(msgbox));
      if (caption != t[2]) return Fail("message box caption is \"" + caption + "\"");
      const std::string text = Narrow(Text(GetDlgItem(msgbox, 0xFFFF)));
      if (text.find(t[3]) == std::string::npos) return Fail("message box says \"" + text + "\"");
      return true;
    }
    if (cmd == "answer" && need(1)) {
      if (!msgbox) return Fail("no message box to answer");
      const int id = t[1] == "yes"      ? IDYES
                     : t[1] == "no"     ? IDNO
                     : t[1] == "cancel" ? IDCANCEL
                                        : IDOK;
      HWND button = GetDlgItem(msgbox, id);
      if (!button) return Fail("message box has no " + t[1] + " button");
      PostMessageW(button, BM_CLICK, 0, 0);
      msgbox = nullptr;
      Sleep(300);
      return true;
    }
    if (cmd == "wait-exit" && need(1)) {
      if (WaitForSingleObject(pi.hProcess, 1000 * std::stoi(t[1])) != WAIT_OBJECT_0) {
        return Fail("program still running");
      }
      DWORD code = 0;
      GetExitCodeProcess(pi.hProcess, &code);
      if (need(2) && code != static_cast<DWORD>(std::stoul(t[2]))) {
        return Fail("exit code " + std::to_string(code));
      }
      return true;
    }
    if ((cmd == "wait-text" || cmd == "wait-contains") && need(3)) {
      std::string got;
      return Await(
          t[1],
          [&] {
            HWND c = Control(t[2]);
            got = c ? Narrow(Text(c)) : std::string();
            return c && (cmd == "wait-text" ? got == t[3] : got.find(t[3]) != std::string::npos);
          },
          [&] { return t[2] + " reads \"" + got + "\""; });
    }
    if (cmd == "wait-visible" && need(3)) {
      const bool want = t[3] == "1";
      return Await(
          t[1],
          [&] {
            HWND c = Control(t[2]);
            return c && (IsWindowVisible(c) != FALSE) == want;
          },
          [&] { return t[2] + " is still " + (want ? "hidden" : "shown"); });
    }
    if (cmd == "wait-hidden" && need(1)) {
      return Await(
          t[1], [&] { return !IsWindow(form) || !IsWindowVisible(form); },
          [] { return std::string("the wizard window is still shown"); });
    }
    if (cmd == "expect-msgbox-text" && need(1)) {
      if (!msgbox) return Fail("no message box");
      const std::string text = Narrow(Text(GetDlgItem(msgbox, 0xFFFF)));
      return text == t[1] || Fail("message box says \"" + text + "\"");
    }
    if (cmd == "expect-msgbox-icon" && need(1)) {
      if (!msgbox) return Fail("no message box");
      const std::string got = MsgBoxIcon();
      return got == t[1] || Fail("message box shows the " + got + " icon");
    }
    if (cmd == "save-text" && need(2)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      const std::string text = Narrow(Text(c));
      std::ofstream out(Wide(t[2]).c_str(), std::ios::binary);
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      return out.good() || Fail("cannot write " + t[2]);
    }
    if ((cmd == "expect-reg" && need(3)) || (cmd == "expect-no-reg" && need(2))) {
      HKEY root = nullptr;
      std::wstring sub;
      if (!RegPath(t[1], &root, &sub)) return Fail("no such registry root in " + t[1]);
      DWORD type = 0;
      std::wstring value;
      const bool found = ReadReg(root, sub, Wide(t[2]), &type, &value);
      if (cmd == "expect-no-reg") {
        return !found || Fail(t[2] + " holds \"" + Narrow(value) + "\"");
      }
      if (!found) return Fail("no value " + t[2] + " under " + t[1]);
      if (type != REG_SZ) return Fail(t[2] + " is of type " + std::to_string(type));
      return Narrow(value) == t[3] || Fail(t[2] + " holds \"" + Narrow(value) + "\"");
    }
    if (cmd == "expect-reg-dword" && need(3)) {
      HKEY root = nullptr;
      std::wstring sub;
      if (!RegPath(t[1], &root, &sub)) return Fail("no such registry root in " + t[1]);
      HKEY key = nullptr;
      DWORD value = 0, size = sizeof value, type = 0;
      LONG r = RegOpenKeyExW(root, sub.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key);
      if (r == ERROR_SUCCESS) {
        r = RegQueryValueExW(key, Wide(t[2]).c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
      }
      if (r != ERROR_SUCCESS) return Fail("no value " + t[2] + " of four bytes under " + t[1]);
      if (type != REG_DWORD) return Fail(t[2] + " is of type " + std::to_string(type));
      return std::to_string(value) == t[3] || Fail(t[2] + " holds " + std::to_string(value));
    }
    if ((cmd == "expect-reg-count" && need(2)) || (cmd == "expect-no-key" && need(1))) {
      HKEY root = nullptr, key = nullptr;
      std::wstring sub;
      if (!RegPath(t[1], &root, &sub)) return Fail("no such registry root in " + t[1]);
      const bool exists = RegOpenKeyExW(root, sub.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                                        &key) == ERROR_SUCCESS;
      DWORD count = 0;
      if (exists) {
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
      }
      if (cmd == "expect-no-key") return !exists || Fail(t[1] + " exists");
      if (!exists) return Fail("no key " + t[1]);
      return std::to_string(count) == t[2] ||
             Fail(t[1] + " holds " + std::to_string(count) + " values");
    }
    if (cmd == "expect-exists" && need(2)) {
      const bool got = GetFileAttributesW(Wide(t[1]).c_str()) != INVALID_FILE_ATTRIBUTES;
      return got == (t[2] == "1") || Fail(t[1] + (got ? " exists" : " does not exist"));
    }
    if (cmd == "hold" && need(1)) {
      held = CreateFileW(Wide(t[1]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      return held != INVALID_HANDLE_VALUE || Fail("cannot open " + t[1]);
    }
    if (cmd == "release") {
      if (held == INVALID_HANDLE_VALUE) return Fail("no file is held");
      CloseHandle(held);
      held = INVALID_HANDLE_VALUE;
      return true;
    }
    if (cmd == "key" && need(1)) return Key(t[1]);
    if (cmd == "expect-focus" && need(1)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      GUITHREADINFO gui{};
      gui.cbSize = sizeof(gui);
      const DWORD until = GetTickCount() + 5000;
      do {
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui)) {
          return Fail("no keyboard state of the program");
        }
        if (gui.hwndFocus == c) return true;
        Sleep(100);
      } while (GetTickCount() < until);
      return Fail("the focus is on " + Describe(gui.hwndFocus));
    }
    if (cmd == "expect-default" && need(1)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      std::vector<HWND> defaults;
      const DWORD until = GetTickCount() + 5000;
      do {
        defaults.clear();
        EnumChildWindows(form, CollectDefaultButton, reinterpret_cast<LPARAM>(&defaults));
        if (defaults.size() == 1 && defaults[0] == c) return true;
        Sleep(100);
      } while (GetTickCount() < until);
      std::string got;
      for (HWND d : defaults) got += " " + Describe(d);
      return Fail("buttons with the default look:" + (got.empty() ? " none" : got));
    }
    if (cmd == "wait-active" && need(1)) {
      const DWORD until = GetTickCount() + 1000 * std::stoi(t[1]);
      GUITHREADINFO gui{};
      gui.cbSize = sizeof(gui);
      HWND front = nullptr;
      do {
        GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui);
        front = GetForegroundWindow();
        if (gui.hwndActive == form && front == form) return true;
        Sleep(100);
      } while (GetTickCount() < until);
      return Fail("the active window is " + Describe(gui.hwndActive) + ", the foreground one " +
                  Describe(front));
    }
    if (cmd == "expect-form-enabled" && need(1)) {
      const bool got = IsWindowEnabled(form);
      return got == (t[1] == "1") ||
             Fail(std::string("the wizard window is ") + (got ? "enabled" : "disabled"));
    }
    if (cmd == "wait-dialog" && need(1)) {
      const DWORD until = GetTickCount() + 1000 * std::stoi(t[1]);
      msgbox = nullptr;
      while (GetTickCount() < until && !(msgbox = Top(L"#32770", true))) Sleep(100);
      if (!msgbox) return Fail("no dialog box");
      Sleep(500);  // the dialog box fills itself once shown
      return true;
    }
    if (cmd == "expect-dialog-text" && need(1)) {
      if (!msgbox) return Fail("no dialog box");
      std::pair<std::wstring, bool> search{Wide(t[1]), false};
      EnumChildWindows(msgbox, FindText, reinterpret_cast<LPARAM>(&search));
      return search.second || Fail("no control of the dialog box reads \"" + t[1] + "\"");
    }
    if (cmd == "expect-folder-text" && need(2)) {
      HWND c = Control(t[1]);
      if (!c) return Fail("no control " + t[1]);
      if (t[2] != "desktop") return Fail("unknown folder " + t[2]);
      wchar_t path[MAX_PATH] = L"";
      if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) {
        return Fail("no desktop folder");
      }
      const std::string want = Narrow(path);
      const std::string got = Narrow(Text(c));
      return got == want || Fail(t[1] + " reads \"" + got + "\", not \"" + want + "\"");
    }
    if (cmd == "shot" && need(1)) return Shot(t[1]);
    if (cmd == "sleep" && need(1)) {
      Sleep(std::stoi(t[1]));
      return true;
    }
    return Fail("unknown or incomplete command");
  }

  // The pixels (0xRRGGBB) that `paint` leaves in a fresh w x h bitmap, top row first.
  template <typename Paint>
  static std::vector<uint32_t> Pixels(int w, int h, Paint paint) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    paint(mem);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> out(p, p + static_cast<size_t>(w) * h);
    for (uint32_t& v : out) v &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return out;
  }

  // Which standard icon the message box shows ("stop", "information", "question", "warning",
  // "no" or "unknown"): the icon control's pixels on the screen against each standard icon
  // drawn here on the same background.
  std::string MsgBoxIcon() {
    HWND icon = GetDlgItem(msgbox, 1088);  // the icon control of the system's message box
    if (!icon || !IsWindowVisible(icon)) return "no";
    SendMessageTimeoutW(msgbox, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    RECT rc{};
    GetWindowRect(icon, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return "no";
    const std::vector<uint32_t> shown = Pixels(w, h, [&](HDC dc) {
      HDC screen = GetDC(nullptr);
      BitBlt(dc, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
      ReleaseDC(nullptr, screen);
    });
    const COLORREF background = RGB(shown[0] >> 16, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF);
    const struct {
      const wchar_t* id;
      const char* name;
    } icons[] = {{IDI_HAND, "stop"},
                 {IDI_ASTERISK, "information"},
                 {IDI_QUESTION, "question"},
                 {IDI_EXCLAMATION, "warning"}};
    std::string best = "unknown";
    size_t fewest = shown.size() / 20 + 1;  // at most 5% of the pixels may differ
    for (const auto& candidate : icons) {
      HICON hicon = LoadIconW(nullptr, candidate.id);
      const std::vector<uint32_t> drawn = Pixels(w, h, [&](HDC dc) {
        RECT all{0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, hicon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
      });
      size_t differ = 0;
      for (size_t i = 0; i < shown.size(); ++i) differ += shown[i] != drawn[i];
      if (differ < fewest) {
        fewest = differ;
        best = candidate.name;
      }
    }
    return best;
  }

  bool Shot(const std::string& file) {
    // Let the program finish painting: its queue is served once it answers, then a moment.
    if (form) SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    Sleep(700);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + stride * h;
    std::ofstream out(Wide(file).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
    out.write(static_cast<const char*>(bits), stride * h);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out.good() || Fail("cannot write " + file);
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: e2e_driver SCRIPT\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "e2e_driver: cannot read the script\n");
    return 2;
  }
  Driver d;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    auto t = Tokens(line);
    if (t.empty() || t[0][0] == '#') continue;
    std::printf("e2e: %s\n", line.c_str());
    std::fflush(stdout);
    if (!d.Run(t)) {
      std::fprintf(stderr, "e2e: line %d failed: %s\n", number, d.failure.c_str());
      if (d.pi.hProcess) TerminateProcess(d.pi.hProcess, 99);
      return 1;
    }
  }
  return 0;
}
