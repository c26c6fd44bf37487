// Command-line splitting (quotes group, backslashes are literal), and the launch roles chosen
// by it.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

struct SplitCase {
  const wchar_t* command_line;
  std::vector<std::wstring> args;
};

TEST(CommandLine, SplitsAtBlanksWithQuotesGroupingAndBackslashesLiteral) {
  const SplitCase cases[] = {
      {L"setup.exe", {}},
      {L"\"C:\\Program Files\\setup.exe\" CLIENT D:\\base", {L"CLIENT", L"D:\\base"}},
      {L"setup.exe CLIENT \"D:\\My Folder\"", {L"CLIENT", L"D:\\My Folder"}},
      {L"setup.exe   WEB\t\"D:\\a b\\\\\"", {L"WEB", L"D:\\a b\\\\"}},
      {L"setup.exe CLIENT \"C:\\Base\\\"", {L"CLIENT", L"C:\\Base\\"}},
      {L"setup.exe CLIENT \"C:\\Base\\\" x", {L"CLIENT", L"C:\\Base\\", L"x"}},
      {L"setup.exe a\\\\\\\"b", {L"a\\\\\\b"}},
      {L"setup.exe a\\\\b \"\"", {L"a\\\\b", L""}},
      {L"setup.exe \"say \"\"hi\"\"\"", {L"say \"hi\""}},
      {L"C:\\dir\\setup.exe COM", {L"COM"}},
      {L"\"C:\\odd\"name.exe WEB_CLIENT x", {L"WEB_CLIENT", L"x"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgumentsOfCommandLine(c.command_line), c.args) << c.command_line;
  }
}

struct RoleCase {
  std::vector<std::wstring> args;
  bool com, web, client, web_client;
  const wchar_t* base;
};

TEST(CommandLine, RoleWordsMatchWholeAndCaseSensitively) {
  const RoleCase cases[] = {
      {{}, false, false, false, false, L""},
      {{L"CLIENT", L"D:\\Base Dir"}, false, false, true, false, L"D:\\Base Dir"},
      {{L"CLIENT"}, false, false, true, false, L""},
      {{L"client", L"D:\\x"}, false, false, false, false, L"D:\\x"},
      {{L"CLIENT2", L"D:\\x"}, false, false, false, false, L"D:\\x"},
      {{L" CLIENT"}, false, false, false, false, L""},
      {{L"WEB", L"E:\\srv"}, false, true, false, false, L"E:\\srv"},
      {{L"WEB_CLIENT", L"E:\\srv"}, false, false, false, true, L"E:\\srv"},
      {{L"COM"}, true, false, false, false, L""},
      {{L"Com"}, false, false, false, false, L""},
      {{L"X", L"CLIENT"}, false, false, false, false, L"CLIENT"},
  };
  for (const auto& c : cases) {
    LaunchRole role(c.args);
    const std::wstring first = c.args.empty() ? L"(none)" : c.args[0];
    EXPECT_EQ(role.IsCOM(), c.com) << first;
    EXPECT_EQ(role.IsWEB(), c.web) << first;
    EXPECT_EQ(role.IsCLIENT(), c.client) << first;
    EXPECT_EQ(role.IsWEB_CLIENT(), c.web_client) << first;
    EXPECT_EQ(role.BaseFolder(), c.base) << first;
  }
}

}  // namespace
}  // namespace quillon
