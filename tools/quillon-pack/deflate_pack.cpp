#include "deflate_pack.h"

#include <libdeflate.h>

#include <memory>

#include "base/error.h"
#include "base/text.h"

namespace quillon::pack {

Bytes LibdeflateZlib(const Bytes& raw, int level) {
  if (level < 0 || level > kMaxPackLevel) {
    throw FormatError(L"Compression level " + IntToText(level) + L" is not between 0 and " +
                      IntToText(kMaxPackLevel));
  }
  const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
      libdeflate_alloc_compressor(level), &libdeflate_free_compressor);
  if (!compressor) throw FormatError(L"Cannot start the libdeflate compressor");
  Bytes out(libdeflate_zlib_compress_bound(compressor.get(), raw.size()));
  const size_t size =
      libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(), out.data(), out.size());
  // The bound holds any input, so no room is a fault of the library, not of the data.
  if (size == 0) throw FormatError(L"libdeflate compression failed");
  out.resize(size);
  return out;
}

Bytes PackRecord(const Bytes& body, const RecordOptions& options) {
  if (options.level <= 9) return WriteRecord(body, options);
  return LibdeflateZlib(RecordContents(body, options), options.level);
}

}  // namespace quillon::pack
