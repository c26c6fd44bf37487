#pragma once
// The resources of a Windows program file (PE/COFF), read from its bytes on any platform: the
// resource directory's three levels (type, name, language), the data entries mapped from
// their virtual addresses to file offsets through the section table. Every offset and length
// is checked against the image; a damaged directory raises FormatError.

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

struct PeResource {
  std::wstring type;  // a name, or "#" and the number for a numbered type
  std::wstring name;  // likewise
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// Every resource in directory order; empty when the program has none.
std::vector<PeResource> ReadPeResources(const std::vector<uint8_t>& image);

}  // namespace quillon
