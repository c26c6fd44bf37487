#include "formats/record_writer.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "base/error.h"
#include "base/text.h"

namespace quillon {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

uint32_t DefaultRecordTag(size_t body_length) {
  uint64_t tag = static_cast<uint64_t>(body_length) * 13 / 5;
  if (tag > std::numeric_limits<uint32_t>::max()) tag = std::numeric_limits<uint32_t>::max();
  if (tag == kRecordTextMarker) ++tag;
  return static_cast<uint32_t>(tag);
}

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw, int level) {
  if (level < 0 || level > 9) {
    throw FormatError(L"Compression level " + IntToText(level) + L" is not between 0 and 9");
  }
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw FormatError(L"Cannot start the zlib compressor");
  }
  std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(raw.size())) + 16);
  // zlib takes at most 4 GiB per call through its 32-bit counters; feed it in slices.
  size_t in_pos = 0;
  size_t out_pos = 0;
  int ret = Z_OK;
  while (ret != Z_STREAM_END) {
    const size_t in_chunk = std::min<size_t>(raw.size() - in_pos, 1u << 30);
    z.next_in = const_cast<Bytef*>(raw.data() + in_pos);
    z.avail_in = static_cast<uInt>(in_chunk);
    if (out_pos == out.size()) out.resize(out.size() * 2 + 64);
    z.next_out = out.data() + out_pos;
    z.avail_out = static_cast<uInt>(std::min<size_t>(out.size() - out_pos, 1u << 30));
    const uInt before_in = z.avail_in;
    const uInt before_out = z.avail_out;
    const bool last = in_pos + in_chunk == raw.size();
    ret = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
    if (ret != Z_OK && ret != Z_STREAM_END && ret != Z_BUF_ERROR) {
      deflateEnd(&z);
      throw FormatError(L"zlib compression failed");
    }
    in_pos += before_in - z.avail_in;
    out_pos += before_out - z.avail_out;
  }
  deflateEnd(&z);
  out.resize(out_pos);
  return out;
}

std::vector<uint8_t> RecordContents(const std::vector<uint8_t>& body,
                                    const RecordOptions& options) {
  if (body.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw FormatError(L"A record body cannot be longer than 2147483647 bytes");
  }
  uint32_t tag = options.tag ? *options.tag : DefaultRecordTag(body.size());
  if (options.text_block) {
    if (options.tag && *options.tag != kRecordTextMarker) {
      throw FormatError(L"A record with a text block needs the tag 1234567890");
    }
    if (options.text_block->size() > kMaxRecordTextBlock) {
      throw FormatError(L"A record text block cannot be longer than 51201 bytes");
    }
    tag = kRecordTextMarker;
  }
  std::vector<uint8_t> raw;
  raw.reserve(body.size() + 12 + (options.text_block ? options.text_block->size() : 0));
  PutU32(raw, tag);
  PutU32(raw, static_cast<uint32_t>(body.size()));
  if (tag == kRecordTextMarker) {
    const std::string block = options.text_block ? *options.text_block : std::string();
    PutU32(raw, static_cast<uint32_t>(block.size()));
    raw.insert(raw.end(), block.begin(), block.end());
  }
  raw.insert(raw.end(), body.begin(), body.end());
  return raw;
}

std::vector<uint8_t> WriteRecord(const std::vector<uint8_t>& body, const RecordOptions& options) {
  return ZlibCompress(RecordContents(body, options), options.level);
}

}  // namespace quillon
