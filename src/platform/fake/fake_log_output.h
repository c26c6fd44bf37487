#pragma once
// A log output in memory: the bytes of each opened file, what went to standard error, a
// clock that advances one millisecond each time it is read, and files that refuse writing.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ports/log_output.h"

namespace quillon {

class FakeLogOutput : public LogOutput {
 public:
  bool Open(const std::wstring& path, std::wstring* error) override;
  bool Append(const std::string& bytes, std::wstring* error) override;
  void WriteStandardError(const std::wstring& line) override { standard_error.push_back(line); }
  std::wstring TempFolder() override { return temp_folder; }
  LocalTime Now() override;
  uint64_t Milliseconds() override { return ++milliseconds; }

  // The lines of a file as UTF-8 text after its byte order mark, without their CR LF.
  std::vector<std::string> Lines(const std::wstring& path) const;

  std::map<std::wstring, std::string> files;
  std::set<std::wstring> refuse_open;  // paths that cannot be opened
  int appends_before_failure = -1;     // appends that succeed before every one fails; -1: all
  std::vector<std::wstring> standard_error;
  std::wstring temp_folder = L"C:\\Users\\User\\AppData\\Local\\Temp";
  LocalTime start{2024, 5, 1, 9, 30, 12, 0};
  uint64_t milliseconds = 0;

 private:
  std::wstring open_;
};

}  // namespace quillon
