#include "platform/fake/fake_log_output.h"

namespace quillon {

bool FakeLogOutput::Open(const std::wstring& path, std::wstring* error) {
  if (refuse_open.count(path)) {
    *error = L"Access is denied.";
    return false;
  }
  files[path].clear();
  open_ = path;
  return true;
}

bool FakeLogOutput::Append(const std::string& bytes, std::wstring* error) {
  if (open_.empty() || appends_before_failure == 0) {
    *error = L"There is not enough space on the disk.";
    return false;
  }
  if (appends_before_failure > 0) --appends_before_failure;
  files[open_] += bytes;
  return true;
}

LocalTime FakeLogOutput::Now() {
  LocalTime t = start;
  t.millisecond = static_cast<int>(milliseconds % 1000);
  return t;
}

std::vector<std::string> FakeLogOutput::Lines(const std::wstring& path) const {
  std::vector<std::string> lines;
  auto it = files.find(path);
  if (it == files.end()) return lines;
  std::string text = it->second;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace quillon
