// The start of a program file: a machine type is only ever read from inside the bytes given,
// behind a well-formed MS-DOS header and PE signature.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/pe_header.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> start(data, data + size);
  const auto machine = quillon::PeMachine(start);
  if (machine) {
    const auto at = quillon::PeSignatureOffset(start);
    FUZZ_CHECK(at && static_cast<uint64_t>(*at) + 6 <= size);
    FUZZ_CHECK(start[*at] == 'P' && start[*at + 1] == 'E');
  }
  return 0;
}
