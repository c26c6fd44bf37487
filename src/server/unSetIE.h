#pragma once
// TForm1, the browser access set-up tool: puts a desktop shortcut that opens the product's
// web console in Internet Explorer. The installer drives it unseen; a "URL.txt" beside the
// program fills and applies it at creation and ends the program.

#include <string>

#include "controls/widgets.h"
#include "platform/ports/application.h"
#include "platform/ports/code_page.h"
#include "platform/ports/file_system.h"
#include "platform/ports/shell.h"

namespace quillon {

inline const std::wstring kInternetExplorer = L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

// "http://%s:%s/VXKALDERWeb" with the trimmed address and port; an empty port is 80.
std::wstring ConsoleAddress(const std::wstring& address, const std::wstring& port);

// The lines of a text file: UTF-8 or UTF-16 when a byte-order mark says so, else the ANSI
// code page.
std::vector<std::wstring> TextFileLines(const Bytes& bytes, CodePage& code_page);

// The platform services the tool uses, and the folder of the running program (with its
// trailing "\"), where "URL.txt" lies.
struct BrowserToolServices {
  Application* app = nullptr;
  FileSystem* files = nullptr;
  CodePage* code_page = nullptr;
  Shell* shell = nullptr;
  std::wstring installer_dir;
};

class TForm1 : public ui::Form {
 public:
  explicit TForm1(const BrowserToolServices& services);

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
  BrowserToolServices services_;
};

}  // namespace quillon
