#pragma once
// TForm1, the browser access set-up tool: puts a desktop shortcut that opens the product's
// web console in Internet Explorer. The installer drives it unseen; a "URL.txt" beside the
// program fills and applies it at creation and ends the program.

#include <string>

#include "platform/ports/installer_env.h"
#include "controls/widgets.h"

namespace quillon {

inline const std::wstring kInternetExplorer = L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

// "http://%s:%s/VXKALDERWeb" with the trimmed address and port; an empty port is 80.
std::wstring ConsoleAddress(const std::wstring& address, const std::wstring& port);

// The lines of a text file: UTF-8 or UTF-16 when a byte-order mark says so, else the ANSI
// code page.
std::vector<std::wstring> TextFileLines(const Bytes& bytes, CodePage& code_page);

class TForm1 : public ui::Form {
 public:
  explicit TForm1(InstallerEnv& env);

  ui::Button *Button1 = nullptr, *Button2 = nullptr;
  ui::Edit* edIP = nullptr;
  ui::Label* Label1 = nullptr;
  ui::CheckBox* chkIE = nullptr;
  ui::Edit* edIE = nullptr;
  ui::Label *labIE = nullptr, *labPort = nullptr;
  ui::Edit* edPort = nullptr;

  void FormCreate();
  void Button1Click();
  void Button2Click();
  void chkIEClick();
  void CreateIEShortcut(const std::wstring& target, const std::wstring& name,
                        const std::wstring& arguments);

 private:
  void Message(const std::wstring& text);
  InstallerEnv& env_;
};

}  // namespace quillon
