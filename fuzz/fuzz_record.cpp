// Compressed records. The first byte chooses the input's form: odd, the rest is the record's
// decompressed layout (tag, length, text block, body) and is compressed here first, so that
// lengths and text blocks are reached directly; even, the rest is taken as packed bytes.
// Unpacking either fails with FormatError or gives a body that packs and unpacks to itself.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "deploy/unZipLib.h"
#include "formats/record_writer.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> packed(data + 1, data + size);
  if (data[0] & 1) packed = quillon::ZlibCompress(packed, 0);
  std::vector<uint8_t> body;
  try {
    body = quillon::UnZipBytes(packed, L"fuzz");
  } catch (const quillon::FormatError&) {
    return 0;
  }
  FUZZ_CHECK(quillon::UnZipBytes(quillon::WriteRecord(body)) == body);
  return 0;
}
