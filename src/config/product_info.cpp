#include "config/product_info.h"

#include "base/error.h"
#include "base/text.h"
#include "deploy/unZipLib.h"

namespace quillon {

datasnap::Packet ReadProductInfoPacket(FileSystem& fs, const std::wstring& path) {
  const std::vector<uint8_t> body = UnZipBytes(fs.ReadFile(path), ExtractFileName(path));
  try {
    return datasnap::ReadPacket(body);
  } catch (const FormatError& e) {
    throw FormatError(ExtractFileName(path) + L": " + e.message());
  }
}

}  // namespace quillon
