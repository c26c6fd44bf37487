#include "app/wizard_captions.h"

namespace quillon {

namespace {

// The leading blanks of the English database labels and the quotes inside several texts
// are part of them.
const WizardCaption kCaptions[] = {
    {L"frmClientInstall", L"程序安装", L"程式安裝", L"Setup"},
    {L"labFirstHint1",
     L"建议你在继续安装之前,先关闭其它正在运行的程式,以避免在安装过程中出现可能的冲突",
     L"建議你在繼續安裝之前,先關閉其它正在運行的程式,以避免在安裝過程中出現可能的衝突",
     L"It is recommended that you close all other applications before continuing."},
    {L"labFirstHint2", L"请点击\"下一步\"继续,或\"取消\"退出安装",
     L"請點擊\"下一步\"繼續,或\"取消\"退出安裝", L"Click Next to continue,or Cancel to exit Setup"},
    {L"rabInstall", L"重新安装", L"重新安裝", L"ReInstall"},
    {L"Label1", L"请仔细阅读下面使用许可协议,在继续安装之前你必须接受本协议",
     L"請仔細閱讀下面使用授權合約,在繼續安裝之前你必須接受本協議",
     L"Please read the following License Agreement and accept it."},
    {L"radAgree", L"我接受该协议", L"我接受該協議", L"I accept the agreement"},
    {L"radNoAgree", L"我不接受该协议", L"我不接受該協議", L"I do not accept the agreement"},
    {L"labDirHint", L"安装程序将安装%s到如下文件夹.", L"安裝程式將安裝%s到如下資料夾.",
     L"Setup will install %s into the following folder."},
    {L"Label5", L"继续安装,请点击\"下一步\".如果想选择其它文件夹,请点击\"选择...\".",
     L"繼續安裝,請點擊\"下一步\".如果想選擇其它資料夾,請點擊\"選擇...\".",
     L"To continue,click Next,Or click Browse to select a different folder."},
    {L"Button1", L"选择...", L"選擇...", L"Browse..."},
    {L"pnlDB", L"正在创建数据库...", L"正在創建資料庫...", L"Creating DataBase..."},
    {L"Label2", L"中间件服务器 的IP地址:(如果就是本机,请直接点击\"下一步\")",
     L"中介軟體伺服器 的IP地址:(如果就是本機,請直接點擊\"下一步\")", L"The IP of Middle Server :"},
    {L"labInstall", L"正在复制文件...", L"正在複製檔...", L"Copying files ..."},
    {L"Label6", L"安装成功", L"安裝成功", L"Setup succeed !"},
    {L"labFinishHint", L"%s已经在你的计算机中安装完毕。", L"%s已經在你的電腦中安裝完畢。",
     L"%s has installed into your computer successfully."},
    {L"Label3", L"请点击\"完成\"结束安装.", L"請點擊\"完成\"結束安裝.",
     L"Please click 'finish' to end this Setup."},
    {L"btnNext", L"下一步 >", L"下一步 >", L"Next>"},
    {L"btnPrior", L"< 上一步", L"< 上一步", L"<Back"},
    {L"Label9", L"请输入如下数据库登录信息 和 新建数据库名.",
     L"請輸入如下資料庫登入資訊 和 新建資料庫名.", L"Please input some message about DataBase."},
    {L"Label4", L"数据库服务器：", L"資料庫伺服器：", L"         DB Server:"},
    {L"Label7", L"数据库用户：", L"資料庫使用者：", L"     DB User:"},
    {L"Label8", L"登录密码：", L"登入口令：", L" Password:"},
    {L"Label10", L"新建数据库名：", L"新建資料庫名：", L"         DB Name:"},
    {L"labDataFilePath", L"SQL Server所在机器上的有效路径", L"SQL Server所在機器上的有效路徑",
     L"Path of SQL Server"},
    {L"chkbDataFilePath", L"自定义数据文件的存储路径：", L"自訂資料檔案的存儲路徑：",
     L"Path of DataBase file:"},
    {L"chkDemoData", L"导入演示资料", L"導入演示資料", L"Import demo DataBase"},
    {L"btnOK", L"完成", L"完成", L"finish"},
    {L"Label13", L"请输入操作系统的管理员账户名称及密码", L"請輸入作業系統的管理員帳戶名稱及密碼",
     L"Please input the account name and password for administrator of OS"},
    {L"Label11", L"账户名称：", L"帳戶名稱：", L"Name:"},
    {L"Label12", L"密码：", L"密碼：", L"Password:"},
    {L"Label14", L"注意：如果是 Windows2003 + SP2 则要求必须输入账户及密码,",
     L"注意：如果是 Windows2003 + SP2 則要求必須輸入帳戶及密碼,", L""},
    {L"Label15", L"其它的系统也要求尽量输入，如果的确不知道那直接跳过也可以,",
     L"其它的系統也要求儘量輸入，如果的確不知道那直接跳過也可以,", L""},
    {L"Label16", L"此时安装程序将按默认方式进行安装.", L"此時安裝程式將按預設方式進行安裝.",
     L"Or click Next to continue directly."},
};

}  // namespace

const WizardCaption* WizardCaptions() {
  return kCaptions;
}

size_t WizardCaptionCount() {
  return sizeof(kCaptions) / sizeof(kCaptions[0]);
}

const WizardCaption* FindWizardCaption(const std::wstring& control) {
  for (const WizardCaption& row : kCaptions) {
    if (control == row.control) return &row;
  }
  return nullptr;
}

const wchar_t* CaptionText(const WizardCaption& row, int column) {
  return column == 0 ? row.a : column == 1 ? row.b : row.c;
}

}  // namespace quillon
