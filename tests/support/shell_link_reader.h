#pragma once
// Reads Windows shortcut files in the published Shell Link binary format, so tests can see
// what a shortcut holds from the file itself: the header and its icon index, the link target
// ID list (skipped), the link information (local base path and common path suffix, Unicode
// where present), the string data (name, relative path, working folder, arguments, icon
// location) and, for a target kept only there, the environment-variable data block.
// Every length is checked against the bytes; a file that is not a shortcut gives nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports/code_page.h"

namespace quillon {

struct ShellLinkRead {
  std::wstring target, arguments, working_folder, icon_location, name, relative_path;
  int32_t icon_index = 0;
};

namespace shell_link_detail {

struct Cursor {
  const std::vector<uint8_t>& b;
  size_t at = 0;
  bool ok = true;
  bool Has(size_t n) const { return ok && at <= b.size() && b.size() - at >= n; }
  uint32_t U16() {
    if (!Has(2)) return ok = false, 0;
    const uint32_t v = b[at] | (b[at + 1] << 8);
    at += 2;
    return v;
  }
  uint32_t U32() {
    const uint32_t lo = U16();
    return lo | (U16() << 16);
  }
};

inline uint32_t Le32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// A NUL-terminated string inside [begin, end) of `b`; nothing when it runs past the end.
inline std::optional<std::string> AnsiZ(const std::vector<uint8_t>& b, size_t begin, size_t end) {
  std::string s;
  for (size_t i = begin; i < end; ++i) {
    if (b[i] == 0) return s;
    s += static_cast<char>(b[i]);
  }
  return std::nullopt;
}

inline std::optional<std::wstring> Utf16Z(const std::vector<uint8_t>& b, size_t begin, size_t end) {
  std::wstring s;
  for (size_t i = begin; i + 1 < end; i += 2) {
    const wchar_t c = static_cast<wchar_t>(b[i] | (b[i + 1] << 8));
    if (c == 0) return s;
    s += c;
  }
  return std::nullopt;
}

}  // namespace shell_link_detail

inline std::optional<ShellLinkRead> ReadShellLinkFile(const std::vector<uint8_t>& bytes,
                                                      CodePage& code_page) {
  using namespace shell_link_detail;
  static const uint8_t kClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  if (bytes.size() < 0x4C || Le32At(bytes, 0) != 0x4C) return std::nullopt;
  for (int i = 0; i < 16; ++i) {
    if (bytes[4 + i] != kClsid[i]) return std::nullopt;
  }
  const uint32_t flags = Le32At(bytes, 0x14);
  ShellLinkRead link;
  link.icon_index = static_cast<int32_t>(Le32At(bytes, 0x38));
  Cursor c{bytes, 0x4C};

  if (flags & 0x01) {  // link target ID list
    const uint32_t size = c.U16();
    if (!c.Has(size)) return std::nullopt;
    c.at += size;
  }
  if (flags & 0x02) {  // link information
    const size_t start = c.at;
    if (!c.Has(0x1C)) return std::nullopt;
    const uint32_t size = Le32At(bytes, start);
    const uint32_t header = Le32At(bytes, start + 4);
    const uint32_t info_flags = Le32At(bytes, start + 8);
    if (size < 0x1C || header < 0x1C || header > size || !c.Has(size)) return std::nullopt;
    const size_t end = start + size;
    auto offset = [&](size_t field) -> std::optional<size_t> {
      if (field + 4 > header) return std::nullopt;
      const uint32_t off = Le32At(bytes, start + field);
      if (off == 0 || off >= size) return std::nullopt;
      return start + off;
    };
    if (info_flags & 0x01) {
      std::optional<std::wstring> base, suffix;
      if (header >= 0x24) {
        if (auto at = offset(0x1C)) base = Utf16Z(bytes, *at, end);
        if (auto at = offset(0x20)) suffix = Utf16Z(bytes, *at, end);
      }
      if (!base) {
        if (auto at = offset(0x10)) {
          if (auto ansi = AnsiZ(bytes, *at, end)) base = code_page.FromAnsi(*ansi);
        }
      }
      if (!suffix) {
        if (auto at = offset(0x18)) {
          if (auto ansi = AnsiZ(bytes, *at, end)) suffix = code_page.FromAnsi(*ansi);
        }
      }
      if (!base) return std::nullopt;
      link.target = *base + suffix.value_or(std::wstring());
    }
    c.at = end;
  }
  const bool unicode = (flags & 0x80) != 0;
  auto counted = [&](std::wstring* out) {
    const uint32_t count = c.U16();
    const size_t bytes_needed = unicode ? 2u * count : count;
    if (!c.Has(bytes_needed)) return c.ok = false;
    if (unicode) {
      for (uint32_t i = 0; i < count; ++i) out->push_back(static_cast<wchar_t>(c.U16()));
    } else {
      *out = code_page.FromAnsi(std::string(bytes.begin() + c.at, bytes.begin() + c.at + count));
      c.at += count;
    }
    // Some writers (Wine's shell among them) count the terminating NUL as well.
    while (!out->empty() && out->back() == L'\0') out->pop_back();
    return true;
  };
  const std::pair<uint32_t, std::wstring*> strings[] = {
      {0x04, &link.name},      {0x08, &link.relative_path}, {0x10, &link.working_folder},
      {0x20, &link.arguments}, {0x40, &link.icon_location},
  };
  for (const auto& [flag, out] : strings) {
    if ((flags & flag) && !counted(out)) return std::nullopt;
  }
  // Extra data: an environment-variable block carries a target when nothing else did.
  while (c.Has(4)) {
    const size_t start = c.at;
    const uint32_t size = Le32At(bytes, start);
    if (size < 4) break;
    if (!c.Has(size)) return std::nullopt;
    if (size >= 8 + 260 + 520 && Le32At(bytes, start + 4) == 0xA0000001 && link.target.empty()) {
      if (auto target = Utf16Z(bytes, start + 8 + 260, start + 8 + 260 + 520))
        link.target = *target;
    }
    c.at = start + size;
  }
  return link;
}

}  // namespace quillon
