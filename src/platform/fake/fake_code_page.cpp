#include "platform/fake/fake_code_page.h"

#include <cerrno>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "base/text.h"

#ifdef _WIN32
#include <locale.h>
#include <stdlib.h>
#else
#include <iconv.h>
#endif

namespace quillon {

#ifndef _WIN32

namespace {

// Wide text as UTF-16 code units (wchar_t is 32 bits natively, 16 on Windows).
std::u16string ToUtf16(const std::wstring& text) {
  std::u16string out;
  for (wchar_t wc : text) {
    const uint32_t cp = static_cast<uint32_t>(wc);
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp);
    }
  }
  return out;
}

}  // namespace

struct FakeCodePage::Impl {
  iconv_t to_ansi;
  iconv_t from_ansi;
};

FakeCodePage::FakeCodePage(std::string name) : name_(std::move(name)) {
  iconv_t to = iconv_open(name_.c_str(), "UTF-16LE");
  iconv_t from = iconv_open("UTF-16LE", name_.c_str());
  if (to == reinterpret_cast<iconv_t>(-1) || from == reinterpret_cast<iconv_t>(-1)) {
    if (to != reinterpret_cast<iconv_t>(-1)) iconv_close(to);
    if (from != reinterpret_cast<iconv_t>(-1)) iconv_close(from);
    throw Error(L"Unknown code page " + FromUtf8(name_));
  }
  impl_ = std::make_unique<Impl>(Impl{to, from});
}

FakeCodePage::~FakeCodePage() {
  iconv_close(impl_->to_ansi);
  iconv_close(impl_->from_ansi);
}

std::string FakeCodePage::ToAnsi(const std::wstring& text) {
  const std::u16string units = ToUtf16(text);
  std::string out;
  iconv(impl_->to_ansi, nullptr, nullptr, nullptr, nullptr);
  // One UTF-16 unit (or surrogate pair) at a time, so a character the code page lacks can be
  // replaced without losing the rest.
  for (size_t i = 0; i < units.size();) {
    size_t n = (units[i] >= 0xD800 && units[i] < 0xDC00 && i + 1 < units.size()) ? 2 : 1;
    char in_buf[4];
    for (size_t k = 0; k < n; ++k) {
      in_buf[2 * k] = static_cast<char>(units[i + k] & 0xFF);
      in_buf[2 * k + 1] = static_cast<char>(units[i + k] >> 8);
    }
    char out_buf[16];
    char* in_ptr = in_buf;
    size_t in_left = 2 * n;
    char* out_ptr = out_buf;
    size_t out_left = sizeof out_buf;
    if (iconv(impl_->to_ansi, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1)) {
      iconv(impl_->to_ansi, nullptr, nullptr, nullptr, nullptr);
      out += '?';
    } else {
      out.append(out_buf, static_cast<size_t>(out_ptr - out_buf));
    }
    i += n;
  }
  return out;
}

std::wstring FakeCodePage::FromAnsi(const std::string& bytes) {
  std::u16string units;
  iconv(impl_->from_ansi, nullptr, nullptr, nullptr, nullptr);
  std::vector<char> in(bytes.begin(), bytes.end());
  char* in_ptr = in.data();
  size_t in_left = in.size();
  while (in_left > 0) {
    char out_buf[256];
    char* out_ptr = out_buf;
    size_t out_left = sizeof out_buf;
    const size_t r = iconv(impl_->from_ansi, &in_ptr, &in_left, &out_ptr, &out_left);
    for (char* p = out_buf; p + 1 < out_ptr; p += 2) {
      units +=
          static_cast<char16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8));
    }
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // A byte that starts no character here (or a cut-off sequence at the end).
      units += u'\xFFFD';
      ++in_ptr;
      --in_left;
      iconv(impl_->from_ansi, nullptr, nullptr, nullptr, nullptr);
    }
  }
  std::wstring out;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    if (sizeof(wchar_t) == 4 && cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size() &&
        units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    out += static_cast<wchar_t>(cp);
  }
  return out;
}

#else  // _WIN32

struct FakeCodePage::Impl {
  _locale_t locale;
};

namespace {

std::string LocaleNameFor(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "GBK" || upper == "GB2312" || upper == "CP936") return ".936";
  if (upper == "BIG5" || upper == "CP950") return ".950";
  if (upper == "UTF-8" || upper == "UTF8" || upper == "CP65001") return ".65001";
  if (upper.rfind("CP", 0) == 0) return "." + upper.substr(2);
  if (upper.rfind("WINDOWS-", 0) == 0) return "." + upper.substr(8);
  return "." + upper;
}

}  // namespace

FakeCodePage::FakeCodePage(std::string name) : name_(std::move(name)) {
  _locale_t locale = _create_locale(LC_ALL, LocaleNameFor(name_).c_str());
  if (locale == nullptr) throw Error(L"Unknown code page " + FromUtf8(name_));
  impl_ = std::make_unique<Impl>(Impl{locale});
}

FakeCodePage::~FakeCodePage() {
  _free_locale(impl_->locale);
}

std::string FakeCodePage::ToAnsi(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    // One character at a time, so a character the code page lacks becomes "?" alone.
    const wchar_t in[2] = {c, 0};
    char buf[8] = {};
    const size_t n = _wcstombs_l(buf, in, sizeof buf - 1, impl_->locale);
    if (c == 0) {
      out += '\0';
    } else if (n == static_cast<size_t>(-1) || n == 0) {
      out += '?';
    } else {
      out.append(buf, n);
    }
  }
  return out;
}

std::wstring FakeCodePage::FromAnsi(const std::string& bytes) {
  std::wstring out;
  size_t i = 0;
  while (i < bytes.size()) {
    if (bytes[i] == '\0') {
      out += L'\0';
      ++i;
      continue;
    }
    // One character of one or two bytes: two bytes that convert to a single character are
    // a lead and a trail byte.
    wchar_t wide[4] = {};
    size_t used = 0;
    if (i + 1 < bytes.size() && bytes[i + 1] != '\0') {
      const std::string two = bytes.substr(i, 2);
      if (_mbstowcs_l(wide, two.c_str(), 3, impl_->locale) == 1) used = 2;
    }
    if (used == 0) {
      const std::string one = bytes.substr(i, 1);
      if (_mbstowcs_l(wide, one.c_str(), 3, impl_->locale) == 1) used = 1;
    }
    if (used == 0) {
      out += L'\xFFFD';
      i += 1;
    } else {
      out += wide[0];
      i += used;
    }
  }
  return out;
}

#endif

}  // namespace quillon
