#include "app/destination_folder.h"

#include "app/unMsgDialog.h"
#include "base/error.h"
#include "base/text.h"

namespace quillon {

bool HasNonAsciiChar(const std::wstring& text) {
  for (wchar_t c : text) {
    if (static_cast<unsigned>(c) > 0x7F) return true;
  }
  return false;
}

bool CheckDestDir(FileSystem& fs, const std::wstring& folder, bool ask) {
  if (folder.size() > 2 && folder[2] != L'\\') {
    ShowHintMsg(L"目录：" + folder + L" 结构有误，请检查！", L"目錄：" + folder + L" 結構有誤，請檢查！",
                L"The Directory is incorrect,please check it!");
    return false;
  }
  if (HasNonAsciiChar(folder)) {
    ShowHintMsg(L"为了有良好的兼容性，请尽量安装在英文目录下！", L"為了有良好的相容性，請儘量安裝在英文目錄下！",
                L"Please use english directory name!");
  }
  if (ask && !fs.DirectoryExists(folder)) {
    if (!ShowConfirmMsg(FormatS(L"文件夹 %s 不存在,是否创建?", folder),
                        FormatS(L"資料夾 %s 不存在,是否創建?", folder),
                        FormatS(L"The directory %s is not exist,do you want to create?", folder))) {
      return false;
    }
  }
  const std::wstring failure = LangText(FormatS(L"文件夹 %s 不能创建！", folder),
                                        FormatS(L"資料夾 %s 不能創建！", folder),
                                        FormatS(L"The directory %s cannot be created!", folder));
  try {
    if (!ForceDirectories(fs, folder)) {
      ShowHintMsg(failure, L"", L"", L"", true);
      return false;
    }
  } catch (const Error& e) {
    ShowHintMsg(failure + L"\r\n" + e.message(), L"", L"", L"", true);
    return false;
  }
  return true;
}

}  // namespace quillon
