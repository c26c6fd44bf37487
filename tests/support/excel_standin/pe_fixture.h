#pragma once
// Minimal program files for tests that tell a program's machine type from its header: an
// MS-DOS header whose pointer at 0x3C leads, past a stub, to the "PE\0\0" signature and a
// COFF file header naming the machine, followed by the magic of the matching optional header.
// Nothing runs them; they only have to start like programs of that machine.

#include <cstdint>
#include <vector>

inline constexpr uint16_t kPeFixtureI386 = 0x014C;
inline constexpr uint16_t kPeFixtureAmd64 = 0x8664;

// The file's bytes; `signature_at` is where the signature begins (at least 0x40).
inline std::vector<uint8_t> MinimalProgram(uint16_t machine, uint32_t signature_at = 0x80) {
  std::vector<uint8_t> file(signature_at + 4 + 20 + 2, 0);
  auto put16 = [&](size_t at, uint16_t v) {
    file[at] = static_cast<uint8_t>(v);
    file[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  file[0] = 'M';
  file[1] = 'Z';
  for (int i = 0; i < 4; ++i) file[0x3C + i] = static_cast<uint8_t>(signature_at >> (8 * i));
  file[signature_at] = 'P';
  file[signature_at + 1] = 'E';
  const size_t coff = signature_at + 4;
  put16(coff, machine);
  put16(coff + 16, 2);  // size of the optional header that follows: its magic only
  put16(coff + 18, machine == kPeFixtureAmd64 ? 0x0022 : 0x0102);  // executable image
  put16(coff + 20, machine == kPeFixtureAmd64 ? 0x020B : 0x010B);  // PE32+ or PE32
  return file;
}
