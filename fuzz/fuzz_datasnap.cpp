// DataSnap packets: anything read either fails with FormatError or gives a packet whose
// fields convert to text; a packet that was read and written again reads and writes the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "formats/datasnap.h"
#include "fuzz_check.h"
#include "platform/fake/fake_code_page.h"

namespace ds = quillon::datasnap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quillon::FakeCodePage code_page("GBK");
  ds::Packet packet;
  try {
    packet = ds::ReadPacket(data, size);
  } catch (const quillon::FormatError&) {
    return 0;
  }
  for (const ds::Row& row : packet.rows) {
    FUZZ_CHECK(row.values.size() == packet.columns.size());
    for (size_t k = 0; k < row.values.size(); ++k) {
      try {
        (void)ds::ValueAsText(packet.columns[k], row.values[k], code_page);
        (void)ds::ValueBytes(packet.columns[k], row.values[k]);
      } catch (const quillon::FormatError&) {
      }
    }
  }
  if (!packet.columns.empty()) {
    try {
      (void)packet.FirstRecordText(packet.columns[0].WideName(), code_page);
    } catch (const quillon::FormatError&) {
    }
  }
  std::vector<uint8_t> once;
  try {
    once = ds::WritePacket(packet);
  } catch (const quillon::FormatError&) {
    return 0;  // read but not writable as it stands (a long FIELDNAME, say)
  }
  const ds::Packet again = ds::ReadPacket(once);
  FUZZ_CHECK(again.rows.size() == packet.rows.size());
  FUZZ_CHECK(ds::WritePacket(again) == once);
  return 0;
}
