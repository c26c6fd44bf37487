#include "formats/base64.h"

namespace quillon {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::vector<uint8_t> Base64Decode(const std::string& text) {
  std::vector<uint8_t> out;
  out.reserve(text.size() / 4 * 3 + 3);
  uint32_t group = 0;
  int count = 0;
  auto flush_partial = [&] {
    // Two characters carry one byte, three carry two; one alone carries nothing whole.
    if (count >= 2) out.push_back(static_cast<uint8_t>(group >> (6 * count - 8)));
    if (count == 3) out.push_back(static_cast<uint8_t>(group >> 2));
    group = 0;
    count = 0;
  };
  for (unsigned char c : text) {
    if (c == '=') {
      flush_partial();
      continue;
    }
    const int sextet = SextetOf(c);
    if (sextet < 0) continue;
    group = (group << 6) | static_cast<uint32_t>(sextet);
    if (++count == 4) {
      out.push_back(static_cast<uint8_t>(group >> 16));
      out.push_back(static_cast<uint8_t>(group >> 8));
      out.push_back(static_cast<uint8_t>(group));
      group = 0;
      count = 0;
    }
  }
  flush_partial();
  return out;
}

std::string Base64Encode(const std::vector<uint8_t>& bytes, bool break_lines) {
  constexpr size_t kLine = 76;
  std::string out;
  size_t line = 0;
  auto put = [&](char c) {
    if (break_lines && line == kLine) {
      out += "\r\n";
      line = 0;
    }
    out += c;
    ++line;
  };
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    put(kAlphabet[(v >> 18) & 63]);
    put(kAlphabet[(v >> 12) & 63]);
    put(kAlphabet[(v >> 6) & 63]);
    put(kAlphabet[v & 63]);
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t v = uint32_t{bytes[i]} << 16;
    if (rest == 2) v |= uint32_t{bytes[i + 1]} << 8;
    put(kAlphabet[(v >> 18) & 63]);
    put(kAlphabet[(v >> 12) & 63]);
    put(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
    put('=');
  }
  return out;
}

std::vector<uint8_t> DecodeConfigTwin(const std::vector<uint8_t>& file_bytes) {
  std::vector<uint8_t> level = file_bytes;
  for (int i = 0; i < kConfigTwinLevels; ++i) {
    level = Base64Decode(std::string(level.begin(), level.end()));
  }
  return level;
}

std::vector<uint8_t> EncodeConfigTwin(const std::vector<uint8_t>& config_bytes, bool break_lines) {
  std::vector<uint8_t> level = config_bytes;
  for (int i = 0; i < kConfigTwinLevels; ++i) {
    const std::string text = Base64Encode(level, break_lines);
    level.assign(text.begin(), text.end());
  }
  level.push_back('\r');
  level.push_back('\n');
  return level;
}

}  // namespace quillon
