#pragma once
// The installer's command line: splitting it into arguments by the Windows quoting rules,
// and the launch role chosen by the first argument.

#include <string>
#include <vector>

namespace quillon {

// Splits a command-line tail (the text after the program name) into arguments: blanks and
// tabs separate arguments; double quotes group and are dropped, "" inside a quoted part gives
// a literal quote. Backslashes are always literal, so a quoted folder with its trailing
// backslash ("C:\Base\") arrives as given: the arguments are folders, never quotes.
std::vector<std::wstring> SplitArguments(const std::wstring& tail);

// Splits a whole command line, whose first item is the program path (quoted or not, no
// escapes, as Windows reads it); returns the arguments after the program.
std::vector<std::wstring> ArgumentsOfCommandLine(const std::wstring& command_line);

// Launch-role queries: true when there is at least one argument and the first equals the
// role word exactly (whole and case-sensitive).
class LaunchRole {
 public:
  explicit LaunchRole(std::vector<std::wstring> args) : args_(std::move(args)) {}
  bool IsCOM() const { return Is(L"COM"); }
  bool IsWEB() const { return Is(L"WEB"); }
  bool IsCLIENT() const { return Is(L"CLIENT"); }
  bool IsWEB_CLIENT() const { return Is(L"WEB_CLIENT"); }
  // The second argument (the base folder), or the empty text.
  std::wstring BaseFolder() const { return args_.size() > 1 ? args_[1] : std::wstring(); }
  const std::vector<std::wstring>& args() const { return args_; }

 private:
  bool Is(const wchar_t* word) const { return !args_.empty() && args_[0] == word; }
  std::vector<std::wstring> args_;
};

}  // namespace quillon
