#include "app/wizard_headings.h"

#include "app/unMsgDialog.h"
#include "base/text.h"

namespace quillon {

namespace {

struct Texts {
  const wchar_t* a;
  const wchar_t* b;
  const wchar_t* c;
};

// The blanks are part of the texts: two around the product name in English, a trailing one
// after it in several Chinese texts.
const Texts kMain[kWizardPageCount] = {
    {L"欢迎使用 Quillon客户端 安装向导", L"歡迎使用 Quillon用戶端 安裝嚮導",
     L"Welcome to  Quillon Client  Setup Wizard"},
    {L"使用许可协议", L"使用授權合約", L"License Agreement"},
    {L"选择目标位置", L"選擇目標位置", L"Select Destination Location"},
    {L"设置管理员", L"設置管理員", L"Set Administrator"},
    {L"数据库安装", L"資料庫安裝", L"Install DataBase"},
    {L"指定 中间件服务器", L"指定 中介軟體伺服器", L"Set Middle Server"},
    {L"正在安装", L"正在安裝", L"Installing"},
    {L"安装完成", L"安裝完成", L"Install Completed"},
};

const Texts kDetail[kWizardPageCount] = {
    {L"此向导将会在你的计算机中安装 Quillon客户端 ", L"此嚮導將會在你的電腦中安裝 Quillon用戶端 ",
     L"This wizard will install  Quillon Client  into your computer."},
    {L"在继续安装之前,请认真阅读下面的重要信息!", L"在繼續安裝之前,請認真閱讀下面的重要資訊!",
     L"Please read the following important information before continuing."},
    {L"你准备把 Quillon客户端 安装到哪里?", L"你準備把 Quillon用戶端 安裝到哪裡?",
     L"Where should  Quillon Client  be installed?"},
    {L"请输入操作系统的管理员账户及密码", L"請輸入作業系統的管理員帳戶及密碼",
     L"Please administrator and password of this OS."},
    {L"安装数据库之前,需要先登录数据库服务器", L"安裝資料庫之前,需要先登錄資料庫伺服器",
     L"Need to login DB Server before create DataBase."},
    {L"请输入 中间件服务器 的IP地址", L"請輸入 中介軟體伺服器 的IP位址",
     L"Please input the IP of middle server."},
    {L"安装程序正在安装 Quillon客户端 ", L"安裝程式正在安裝 Quillon用戶端 ",
     L"Installing... Quillon Client "},
    // The Finished page has no detail line.
    {L"", L"", L""},
};

std::wstring Pick(const Texts& t) {
  return LangText(t.a, t.b, t.c);
}

}  // namespace

bool HeadingsOfPage(int index, const std::wstring& oem_name, const std::wstring& start_lang,
                    PageHeadings* out) {
  if (index < 0 || index >= kWizardPageCount) return false;
  out->main = Pick(kMain[index]);
  out->detail = Pick(kDetail[index]);
  if (!oem_name.empty()) {
    out->main = ReplaceAll(out->main, L"Quillon", oem_name);
    out->detail = ReplaceAll(out->detail, L"Quillon", oem_name);
  }
  if (start_lang != L"A") {
    out->detail = ReplaceAll(out->detail, L"数据库", L"资料库");
    out->detail = ReplaceAll(out->detail, L"服务器", L"伺服器");
  }
  return true;
}

}  // namespace quillon
