#include "formats/pe_header.h"

namespace quillon {

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

}  // namespace

std::optional<uint32_t> PeSignatureOffset(const std::vector<uint8_t>& start) {
  if (start.size() < 0x40 || start[0] != 'M' || start[1] != 'Z') return std::nullopt;
  return Le32(start, 0x3C);
}

std::optional<uint16_t> PeMachine(const std::vector<uint8_t>& start) {
  const std::optional<uint32_t> at = PeSignatureOffset(start);
  if (!at) return std::nullopt;
  const uint64_t sig = *at;
  if (sig + 6 > start.size()) return std::nullopt;
  if (start[sig] != 'P' || start[sig + 1] != 'E' || start[sig + 2] != 0 || start[sig + 3] != 0) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(start[sig + 4] | (start[sig + 5] << 8));
}

}  // namespace quillon
