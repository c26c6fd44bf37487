#pragma once
// Product information files for tests: a compressed record holding a data packet with one
// record of 8-bit text fields (in the given code page), as a distributor's file carries them.

#include <string>
#include <utility>
#include <vector>

#include "formats/datasnap.h"
#include "formats/record_writer.h"
#include "platform/ports/code_page.h"
#include "platform/ports/file_system.h"

namespace quillon {

using ProductInfoFields = std::vector<std::pair<std::string, std::wstring>>;

// The defaults of a run in tests: no reseller names, a symbol line caption, and maker names
// that differ from the agreements' own.
inline ProductInfoFields DefaultProductInfo() {
  return {{"a12", L""},
          {"a13", L"Tovrin Systems Ltd."},
          {"a16", L"Tovrin"},
          {"a17", L"Tovrin"},
          {"a18", L""}};
}

inline Bytes ProductInfoPacket(const ProductInfoFields& fields, CodePage& code_page) {
  datasnap::Packet packet;
  datasnap::Row row;
  for (const auto& [name, value] : fields) {
    packet.columns.push_back(datasnap::ZStringColumn(name, 200));
    row.values.push_back(datasnap::ZStringValue(code_page.ToAnsi(value)));
  }
  packet.rows.push_back(row);
  return datasnap::WritePacket(packet);
}

inline Bytes ProductInfoFile(const ProductInfoFields& fields, CodePage& code_page) {
  return WriteRecord(ProductInfoPacket(fields, code_page));
}

}  // namespace quillon
