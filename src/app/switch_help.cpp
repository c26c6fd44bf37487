#include "app/switch_help.h"

#include "app/unMsgDialog.h"

namespace quillon {

namespace {

std::wstring FaultText(const SetupSwitches& s) {
  const std::wstring& arg = s.bad_argument;
  switch (s.fault) {
    case SetupSwitches::Fault::UnknownSwitch:
      return LangText(L"未知的开关：" + arg, L"未知的參數：" + arg, L"Unknown switch: " + arg);
    case SetupSwitches::Fault::MissingValue:
      return LangText(L"开关缺少值：" + arg, L"參數缺少值：" + arg,
                      L"The switch needs a value: " + arg);
    case SetupSwitches::Fault::BadLanguage:
      return LangText(L"语言只能是 A、B 或 C：" + arg, L"語言只能是 A、B 或 C：" + arg,
                      L"The language is A, B or C: " + arg);
    case SetupSwitches::Fault::DirWithBaseFolder:
      return LangText(L"启动角色已给出基础文件夹，不能再用 /DIR：" + arg,
                      L"啟動角色已給出基礎資料夾，不能再用 /DIR：" + arg,
                      L"A launch role with a base folder takes no /DIR: " + arg);
    case SetupSwitches::Fault::None:
      break;
  }
  return std::wstring();
}

}  // namespace

std::wstring SwitchHelpCaption() {
  return LangText(L"安装程序命令行开关", L"安裝程式命令列參數", L"Setup command-line switches");
}

std::wstring SwitchHelpText(const SetupSwitches& s) {
  std::wstring text = FaultText(s);
  if (!text.empty()) text += L"\r\n\r\n";
  text += LangText(
      L"QuillonSetup.exe [CLIENT|WEB|WEB_CLIENT 基础文件夹 | COM] [开关]\r\n"
      L"\r\n"
      L"/SILENT\t显示进度，不询问任何问题，结束后自动完成\r\n"
      L"/VERYSILENT\t同上，但不显示任何窗口\r\n"
      L"/SUPPRESSMSGBOXES\t不等待任何消息框（/VERYSILENT 已包含）\r\n"
      L"/DIR=文件夹\t安装到该文件夹\r\n"
      L"/LOG[=文件]\t写日志（未给文件时写入临时文件夹）\r\n"
      L"/LANG=A|B|C\t界面语言：A 简体中文，B 繁体中文，C 英文\r\n"
      L"/? 或 /HELP\t显示本说明\r\n"
      L"\r\n"
      L"退出码：\r\n"
      L"0\t安装完成\r\n"
      L"1\t缺少产品信息文件，或没有 32 位 Excel\r\n"
      L"2\t安装前取消或关闭\r\n"
      L"3\t安装出错\r\n"
      L"4\t显示了本说明\r\n"
      L"5\t命令行有误\r\n"
      L"6\t已有安装程序在运行\r\n"
      L"7\t目标文件夹有误或不能创建",
      L"QuillonSetup.exe [CLIENT|WEB|WEB_CLIENT 基礎資料夾 | COM] [參數]\r\n"
      L"\r\n"
      L"/SILENT\t顯示進度，不詢問任何問題，結束後自動完成\r\n"
      L"/VERYSILENT\t同上，但不顯示任何視窗\r\n"
      L"/SUPPRESSMSGBOXES\t不等待任何訊息框（/VERYSILENT 已包含）\r\n"
      L"/DIR=資料夾\t安裝到該資料夾\r\n"
      L"/LOG[=檔案]\t寫記錄檔（未給檔案時寫入暫存資料夾）\r\n"
      L"/LANG=A|B|C\t介面語言：A 簡體中文，B 繁體中文，C 英文\r\n"
      L"/? 或 /HELP\t顯示本說明\r\n"
      L"\r\n"
      L"結束代碼：\r\n"
      L"0\t安裝完成\r\n"
      L"1\t缺少產品資訊檔，或沒有 32 位元 Excel\r\n"
      L"2\t安裝前取消或關閉\r\n"
      L"3\t安裝出錯\r\n"
      L"4\t顯示了本說明\r\n"
      L"5\t命令列有誤\r\n"
      L"6\t已有安裝程式在執行\r\n"
      L"7\t目標資料夾有誤或不能創建",
      L"QuillonSetup.exe [CLIENT|WEB|WEB_CLIENT base-folder | COM] [switches]\r\n"
      L"\r\n"
      L"/SILENT\tshow progress, ask nothing, end by itself\r\n"
      L"/VERYSILENT\tthe same, with no window at all\r\n"
      L"/SUPPRESSMSGBOXES\tno message box waits (implied by /VERYSILENT)\r\n"
      L"/DIR=folder\tinstall into this folder\r\n"
      L"/LOG[=file]\twrite a log (without a file: in the temporary folder)\r\n"
      L"/LANG=A|B|C\tlanguage: A simplified Chinese, B traditional Chinese, C English\r\n"
      L"/? or /HELP\tshow this list\r\n"
      L"\r\n"
      L"Exit codes:\r\n"
      L"0\tinstalled\r\n"
      L"1\tproduct information file missing, or no 32-bit Excel\r\n"
      L"2\tcancelled or closed before the install\r\n"
      L"3\tinstall error\r\n"
      L"4\tthis list was shown\r\n"
      L"5\twrong command line\r\n"
      L"6\tanother installer is running\r\n"
      L"7\tdestination folder wrong or cannot be made");
  return text;
}

std::wstring AlreadyRunningText() {
  return LangText(L"已有一个安装程序正在运行，请等它结束后再试。",
                  L"已有一個安裝程式正在執行，請等它結束後再試。",
                  L"Another copy of Setup is running. Try again once it has ended.");
}

}  // namespace quillon
