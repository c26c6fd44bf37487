#include "base/text.h"

namespace quillon {

namespace {

bool IsBlank(wchar_t c) {
  return static_cast<unsigned>(c) <= 0x20;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendWide(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

wchar_t UpperAsciiChar(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

std::wstring UpperAscii(std::wstring text) {
  for (auto& c : text) c = UpperAsciiChar(c);
  return text;
}

bool SameTextAscii(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) return false;
  }
  return true;
}

std::wstring TrimLeft(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

std::wstring TrimRight(const std::wstring& text) {
  size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

std::wstring Trim(const std::wstring& text) {
  return TrimLeft(TrimRight(text));
}

std::wstring ReplaceFirst(const std::wstring& text, const std::wstring& from,
                          const std::wstring& to) {
  if (from.empty()) return text;
  const size_t at = text.find(from);
  if (at == std::wstring::npos) return text;
  std::wstring out = text;
  out.replace(at, from.size(), to);
  return out;
}

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& from,
                        const std::wstring& to) {
  if (from.empty()) return text;
  std::wstring out;
  size_t pos = 0;
  for (;;) {
    const size_t at = text.find(from, pos);
    if (at == std::wstring::npos) break;
    out.append(text, pos, at - pos);
    out += to;
    pos = at + from.size();
  }
  out.append(text, pos, std::wstring::npos);
  return out;
}

std::wstring FormatS(const std::wstring& format, const std::wstring& arg) {
  std::wstring out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      if (format[i + 1] == L's') {
        out += arg;
        ++i;
        continue;
      }
      if (format[i + 1] == L'%') {
        out += L'%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::wstring line;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      lines.push_back(line);
      line.clear();
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::wstring JoinLinesCrLf(const std::vector<std::wstring>& lines) {
  std::wstring out;
  for (const auto& line : lines) {
    out += line;
    out += L"\r\n";
  }
  return out;
}

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      cp &= 0xFFFF;
      if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low < 0xE000) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (cp > 0x10FFFF) cp = 0xFFFD;
    AppendUtf8(out, cp);
  }
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      cp = b & 0x07;
    } else {
      AppendWide(out, 0xFFFD);
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    if (!ok) {
      AppendWide(out, 0xFFFD);
      ++i;
      continue;
    }
    AppendWide(out, cp > 0x10FFFF ? 0xFFFD : cp);
    i += extra + 1;
  }
  return out;
}

std::wstring IntToText(long long value) {
  return std::to_wstring(value);
}

std::wstring ExtractFileName(const std::wstring& path) {
  const size_t at = path.find_last_of(L"\\/:");
  return at == std::wstring::npos ? path : path.substr(at + 1);
}

std::wstring ExtractFilePath(const std::wstring& path) {
  const size_t at = path.find_last_of(L"\\/:");
  return at == std::wstring::npos ? std::wstring() : path.substr(0, at + 1);
}

}  // namespace quillon
