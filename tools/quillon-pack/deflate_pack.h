#pragma once
// Compressed records at the packing tool's levels: zlib's own 0 to 9, and beyond them
// libdeflate's exhaustive levels, whose streams any zlib inflater (the installer's) reads.

#include "formats/record_writer.h"
#include "pack.h"

namespace quillon::pack {

// The highest level PackRecord takes: 10 to 12 are libdeflate's, slower to pack and smaller.
inline constexpr int kMaxPackLevel = 12;

// One zlib stream (zlib header, 15-bit window, Adler-32) of `raw` at libdeflate's `level`
// (0 to 12). Error for a level out of range.
Bytes LibdeflateZlib(const Bytes& raw, int level);

// The compressed record of `body` at options.level (0 to kMaxPackLevel): WriteRecord's
// bytes up to level 9, libdeflate's stream of the same contents above it.
Bytes PackRecord(const Bytes& body, const RecordOptions& options);

}  // namespace quillon::pack
