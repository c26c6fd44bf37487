// The deployment switches: found anywhere and in any letter case, taken out of the
// arguments before the launch role and base folder are read, and wrong usage named.
#include "app/setup_switches.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace quillon {
namespace {

using Fault = SetupSwitches::Fault;

std::string Show(const std::vector<std::wstring>& args) {
  std::string out;
  for (const auto& a : args) out += "[" + ToUtf8(a) + "]";
  return out;
}

TEST(SetupSwitches, SortsSwitchesFromTheRoleAndBaseFolder) {
  struct Case {
    std::vector<std::wstring> args;
    std::vector<std::wstring> rest;
    bool silent, very_silent, suppress;
    const wchar_t* dir;  // nullptr: not given
    bool log;
    const wchar_t* log_file;
    const wchar_t* lang;
    bool help;
  };
  const Case cases[] = {
      {{}, {}, false, false, false, nullptr, false, L"", L"", false},
      {{L"CLIENT", L"D:\\Base", L"/VERYSILENT", L"/LOG=C:\\q.log"},
       {L"CLIENT", L"D:\\Base"},
       false,
       true,
       false,
       nullptr,
       true,
       L"C:\\q.log",
       L"",
       false},
      // Anywhere, in any letter case; the role keeps its place among the rest.
      {{L"/silent", L"COM", L"/Dir=E:\\Q Files\\"},
       {L"COM"},
       true,
       false,
       false,
       L"E:\\Q Files\\",
       false,
       L"",
       L"",
       false},
      {{L"/SuppressMsgBoxes", L"/log"}, {}, false, false, true, nullptr, true, L"", L"", false},
      {{L"/LANG=c"}, {}, false, false, false, nullptr, false, L"", L"C", false},
      {{L"/?"}, {}, false, false, false, nullptr, false, L"", L"", true},
      {{L"/help", L"WEB"}, {L"WEB"}, false, false, false, nullptr, false, L"", L"", true},
      // The last of two counts; a value keeps its "=" signs.
      {{L"/DIR=C:\\a", L"/DIR=C:\\b=c"},
       {},
       false,
       false,
       false,
       L"C:\\b=c",
       false,
       L"",
       L"",
       false},
      // Not switches: the role words compare exactly later on, and folders stay as given.
      {{L"client", L"C:\\x"},
       {L"client", L"C:\\x"},
       false,
       false,
       false,
       nullptr,
       false,
       L"",
       L"",
       false},
      // A role that takes no base folder, or one without it, may take /DIR.
      {{L"CLIENT", L"/DIR=C:\\Q"},
       {L"CLIENT"},
       false,
       false,
       false,
       L"C:\\Q",
       false,
       L"",
       L"",
       false},
      {{L"COM", L"extra", L"/DIR=C:\\Q"},
       {L"COM", L"extra"},
       false,
       false,
       false,
       L"C:\\Q",
       false,
       L"",
       L"",
       false},
  };
  for (const Case& c : cases) {
    const SetupSwitches s = ParseSetupSwitches(c.args);
    const std::string at = Show(c.args);
    EXPECT_EQ(s.fault, Fault::None) << at;
    EXPECT_EQ(s.rest, c.rest) << at;
    EXPECT_EQ(s.silent, c.silent) << at;
    EXPECT_EQ(s.very_silent, c.very_silent) << at;
    EXPECT_EQ(s.suppress_msgboxes, c.suppress) << at;
    EXPECT_EQ(s.dir.has_value(), c.dir != nullptr) << at;
    if (c.dir && s.dir) {
      EXPECT_EQ(*s.dir, c.dir) << at;
    }
    EXPECT_EQ(s.log, c.log) << at;
    EXPECT_EQ(s.log_file, c.log_file) << at;
    EXPECT_EQ(s.lang, c.lang) << at;
    EXPECT_EQ(s.help, c.help) << at;
  }
}

TEST(SetupSwitches, VerySilentImpliesSuppressedBoxes) {
  EXPECT_TRUE(ParseSetupSwitches({L"/VERYSILENT"}).boxes_suppressed());
  EXPECT_TRUE(ParseSetupSwitches({L"/VERYSILENT"}).unattended());
  EXPECT_FALSE(ParseSetupSwitches({L"/SILENT"}).boxes_suppressed());
  EXPECT_FALSE(ParseSetupSwitches({L"/SUPPRESSMSGBOXES"}).unattended());
  EXPECT_FALSE(ParseSetupSwitches({L"CLIENT", L"D:\\Base"}).any());
}

TEST(SetupSwitches, NamesTheFirstWrongArgument) {
  struct Case {
    std::vector<std::wstring> args;
    Fault fault;
    const wchar_t* bad;
  };
  const Case cases[] = {
      {{L"/FOO"}, Fault::UnknownSwitch, L"/FOO"},
      {{L"/"}, Fault::UnknownSwitch, L"/"},
      {{L"/SILENTLY"}, Fault::UnknownSwitch, L"/SILENTLY"},
      {{L"/SILENT=1"}, Fault::UnknownSwitch, L"/SILENT=1"},
      {{L"/HELP=me"}, Fault::UnknownSwitch, L"/HELP=me"},
      {{L"/DIR="}, Fault::MissingValue, L"/DIR="},
      {{L"/DIR=  "}, Fault::MissingValue, L"/DIR=  "},
      {{L"/DIR"}, Fault::MissingValue, L"/DIR"},
      {{L"/LOG="}, Fault::MissingValue, L"/LOG="},
      {{L"/LANG"}, Fault::MissingValue, L"/LANG"},
      {{L"/LANG=D"}, Fault::BadLanguage, L"/LANG=D"},
      {{L"/LANG=AB"}, Fault::BadLanguage, L"/LANG=AB"},
      {{L"/LANG="}, Fault::BadLanguage, L"/LANG="},
      {{L"CLIENT", L"D:\\Base", L"/DIR=C:\\Q"}, Fault::DirWithBaseFolder, L"/DIR=C:\\Q"},
      {{L"/DIR=C:\\Q", L"WEB_CLIENT", L"D:\\B"}, Fault::DirWithBaseFolder, L"/DIR=C:\\Q"},
      // The first fault is kept.
      {{L"/X", L"/LANG=Z"}, Fault::UnknownSwitch, L"/X"},
  };
  for (const Case& c : cases) {
    const SetupSwitches s = ParseSetupSwitches(c.args);
    EXPECT_EQ(s.fault, c.fault) << Show(c.args);
    EXPECT_EQ(s.bad_argument, c.bad) << Show(c.args);
  }
}

}  // namespace
}  // namespace quillon
