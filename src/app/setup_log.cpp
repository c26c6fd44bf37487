#include "app/setup_log.h"

#include <cstdio>

#include "base/text.h"

namespace quillon {

namespace {

std::wstring Digits(int value, int width) {
  std::wstring text = IntToText(value);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), L'0');
  return text;
}

std::wstring OneLine(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L" | ";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::wstring LogTimeText(const LocalTime& t) {
  return Digits(t.year, 4) + L"-" + Digits(t.month, 2) + L"-" + Digits(t.day, 2) + L" " +
         Digits(t.hour, 2) + L":" + Digits(t.minute, 2) + L":" + Digits(t.second, 2) + L"." +
         Digits(t.millisecond, 3);
}

std::wstring DefaultLogName(const std::wstring& program_file, const LocalTime& start) {
  std::wstring stem = ExtractFileName(program_file);
  const size_t dot = stem.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) stem.resize(dot);
  if (stem.empty()) stem = L"QuillonSetup";
  return stem + L"_" + Digits(start.year, 4) + Digits(start.month, 2) + Digits(start.day, 2) +
         L"_" + Digits(start.hour, 2) + Digits(start.minute, 2) + Digits(start.second, 2) + L".log";
}

bool SetupLog::Open(const std::wstring& path) {
  std::lock_guard<std::mutex> hold(mutex_);
  path_ = path;
  std::wstring error;
  // The byte order mark tells Windows' editors the file is UTF-8.
  writing_ = out_.Open(path, &error) && out_.Append("\xEF\xBB\xBF", &error);
  if (!writing_) SayFailure(error);
  return writing_;
}

void SetupLog::Line(const std::wstring& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (!writing_) return;
  const std::string line = ToUtf8(LogTimeText(out_.Now()) + L"  " + OneLine(text)) + "\r\n";
  std::wstring error;
  if (!out_.Append(line, &error)) {
    writing_ = false;
    SayFailure(error);
  }
}

void SetupLog::SayFailure(const std::wstring& error) {
  if (failure_said_) return;
  failure_said_ = true;
  out_.WriteStandardError(L"QuillonSetup: the log " + path_ + L" cannot be written (" + error +
                          L"); the install goes on without it.");
}

}  // namespace quillon
