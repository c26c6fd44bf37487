// Program files: the resource directory of any bytes is read without reading outside them;
// what is not a program or is damaged is refused with FormatError.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "formats/pe_resources.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> image(data, data + size);
  try {
    for (const quillon::PeResource& r : quillon::ReadPeResources(image)) {
      FUZZ_CHECK(r.data.size() <= size);
    }
  } catch (const quillon::FormatError&) {
  }
  return 0;
}
