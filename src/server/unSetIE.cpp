#include "server/unSetIE.h"

#include "base/text.h"

namespace quillon {

namespace {

std::wstring Utf16(const Bytes& b, size_t from, bool big_endian) {
  std::wstring s;
  for (size_t i = from; i + 1 < b.size(); i += 2) {
    s += static_cast<wchar_t>(big_endian ? (b[i] << 8) | b[i + 1] : b[i] | (b[i + 1] << 8));
  }
  return s;
}

}  // namespace

std::wstring ConsoleAddress(const std::wstring& address, const std::wstring& port) {
  std::wstring p = Trim(port);
  if (p.empty()) p = L"80";
  return L"http://" + Trim(address) + L":" + p + L"/VXKALDERWeb";
}

std::vector<std::wstring> TextFileLines(const Bytes& b, CodePage& code_page) {
  std::wstring text;
  if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    text = FromUtf8(std::string(b.begin() + 3, b.end()));
  } else if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    text = Utf16(b, 2, false);
  } else if (b.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    text = Utf16(b, 2, true);
  } else {
    text = code_page.FromAnsi(std::string(b.begin(), b.end()));
  }
  return SplitLines(text);
}

TForm1::TForm1(const BrowserToolServices& services) : ui::Form(L"Form1"), services_(services) {
  SetBounds(0, 0, 330, 200);
  SetCaption(L"IE");
  Label1 = Add<ui::Label>(this, L"Label1");
  Label1->SetBounds(16, 20, 70, 16);
  Label1->SetCaption(L"服务器地址");
  edIP = Add<ui::Edit>(this, L"edIP");
  edIP->SetBounds(96, 16, 210, 22);
  chkIE = Add<ui::CheckBox>(this, L"chkIE");
  chkIE->SetBounds(16, 52, 200, 18);
  chkIE->SetCaption(L"在桌面创建快捷方式");
  chkIE->on_click = [this] { chkIEClick(); };
  labIE = Add<ui::Label>(this, L"labIE");
  labIE->SetBounds(16, 84, 70, 16);
  labIE->SetCaption(L"快捷方式名称");
  edIE = Add<ui::Edit>(this, L"edIE");
  edIE->SetBounds(96, 80, 210, 22);
  labPort = Add<ui::Label>(this, L"labPort");
  labPort->SetBounds(16, 116, 70, 16);
  labPort->SetCaption(L"端口");
  edPort = Add<ui::Edit>(this, L"edPort");
  edPort->SetBounds(96, 112, 80, 22);
  Button1 = Add<ui::Button>(this, L"Button1");
  Button1->SetBounds(136, 156, 80, 25);
  Button1->SetCaption(L"设置");
  Button1->on_click = [this] { Button1Click(); };
  Button2 = Add<ui::Button>(this, L"Button2");
  Button2->SetBounds(226, 156, 80, 25);
  Button2->SetCaption(L"关闭");
  Button2->on_click = [this] { Button2Click(); };
  chkIEClick();
}

void TForm1::FormCreate() {
  const std::wstring path = services_.installer_dir + L"URL.txt";
  if (!services_.files->FileExists(path)) return;
  const std::vector<std::wstring> lines =
      TextFileLines(services_.files->ReadFile(path), *services_.code_page);
  if (lines.size() >= 1) edIP->SetText(lines[0]);
  if (lines.size() >= 2) {
    chkIE->SetChecked(true);
    chkIEClick();
    edIE->SetText(lines[1]);
  }
  if (lines.size() >= 3) edPort->SetText(lines[2]);
  if (edIP->text().empty()) return;
  Button1->Click();
  Message(L"设置完成,请关闭IE然后重新登录！");
  services_.app->RequestTerminate();
}

void TForm1::Button1Click() {
  const std::wstring name = Trim(edIE->text());
  if (chkIE->checked() && name.empty()) {
    Message(L"请输入有效快捷方式名称！");
    return;
  }
  const std::wstring address = Trim(edIP->text());
  if (address.empty()) return;
  // A name always gives a shortcut, ticked or not.
  if (!name.empty())
    CreateIEShortcut(kInternetExplorer, name, ConsoleAddress(address, edPort->text()));
  Close();
}

void TForm1::Button2Click() {
  Close();
}

void TForm1::chkIEClick() {
  edIE->SetEnabled(chkIE->checked());
  for (ui::Control* c : {static_cast<ui::Control*>(labIE), static_cast<ui::Control*>(labPort),
                         static_cast<ui::Control*>(edPort)}) {
    c->SetEnabled(edIE->enabled());
  }
}

void TForm1::CreateIEShortcut(const std::wstring& target, const std::wstring& name,
                              const std::wstring& arguments) {
  const std::wstring desktop = services_.shell->FolderPath(SpecialFolder::Desktop);
  if (desktop.empty()) return;
  ShellLinkSpec link{target, arguments, ExtractFilePath(target), L""};
  // The save's result is not looked at: a name that is no file name leaves no shortcut.
  services_.shell->SaveShellLink(desktop + L"\\" + name + L".lnk", link);
}

void TForm1::Message(const std::wstring& text) {
  services_.app->MessageBox(text, services_.app->Title(), MsgIcon::None, MsgButtons::Ok);
}

}  // namespace quillon
