#include "app/command_line.h"

namespace quillon {

std::vector<std::wstring> SplitArguments(const std::wstring& tail) {
  std::vector<std::wstring> args;
  size_t i = 0;
  const size_t n = tail.size();
  for (;;) {
    while (i < n && (tail[i] == L' ' || tail[i] == L'\t')) ++i;
    if (i >= n) break;
    std::wstring arg;
    bool quoted = false;
    while (i < n) {
      const wchar_t c = tail[i];
      if (!quoted && (c == L' ' || c == L'\t')) break;
      if (c == L'"') {
        if (quoted && i + 1 < n && tail[i + 1] == L'"') {
          arg += L'"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += c;
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

std::vector<std::wstring> ArgumentsOfCommandLine(const std::wstring& command_line) {
  size_t i = 0;
  const size_t n = command_line.size();
  while (i < n && (command_line[i] == L' ' || command_line[i] == L'\t')) ++i;
  // The program name: quotes group, backslashes are plain characters.
  bool quoted = false;
  while (i < n) {
    const wchar_t c = command_line[i];
    if (c == L'"') {
      quoted = !quoted;
    } else if (!quoted && (c == L' ' || c == L'\t')) {
      break;
    }
    ++i;
  }
  return SplitArguments(command_line.substr(i));
}

}  // namespace quillon
