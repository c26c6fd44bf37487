#pragma once
// The machine type in the file header of a Windows program (PE/COFF): the MS-DOS stub's
// pointer at 0x3C leads to the "PE\0\0" signature, followed by the 16-bit machine field.

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

inline constexpr uint16_t kMachineI386 = 0x014C;
inline constexpr uint16_t kMachineAmd64 = 0x8664;
inline constexpr uint16_t kMachineArm64 = 0xAA64;

// Where the PE signature starts, from the MS-DOS header; nothing when the bytes are too short
// for that header or do not start with "MZ".
std::optional<uint32_t> PeSignatureOffset(const std::vector<uint8_t>& start);

// The machine field; nothing when the bytes are not (or not enough of) a PE file's start.
std::optional<uint16_t> PeMachine(const std::vector<uint8_t>& start);

}  // namespace quillon
