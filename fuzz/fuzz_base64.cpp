// Base64: decoding anything; encoding round trips, with and without line breaks; the
// five-level configuration twin both ways.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/base64.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  (void)quillon::Base64Decode(std::string(bytes.begin(), bytes.end()));
  (void)quillon::DecodeConfigTwin(bytes);

  const std::string plain = quillon::Base64Encode(bytes);
  FUZZ_CHECK(quillon::Base64Decode(plain) == bytes);
  const std::string lines = quillon::Base64Encode(bytes, true);
  FUZZ_CHECK(quillon::Base64Decode(lines) == bytes);
  for (size_t at = 0; at < lines.size(); at += 78) {
    const size_t end = lines.find("\r\n", at);
    FUZZ_CHECK((end == std::string::npos ? lines.size() : end) - at <= 76);
  }
  if (size < 512) FUZZ_CHECK(quillon::DecodeConfigTwin(quillon::EncodeConfigTwin(bytes)) == bytes);
  return 0;
}
