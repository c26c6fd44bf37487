#pragma once
// The compressed record, the product's packed-file format: one zlib stream (RFC 1950) holding,
// as 32-bit little-endian integers, a tag, the signed body length, then, only when the tag is
// kRecordTextMarker, a text block (unsigned length, then that many 8-bit characters that
// readers skip), and then the body. Whatever follows the body inside the stream is not part of
// the record.

#include <cstddef>
#include <cstdint>

namespace quillon {

constexpr uint32_t kRecordTextMarker = 1234567890;
// Longest text block a record may carry.
constexpr uint32_t kMaxRecordTextBlock = 51201;
// Bodies are copied through a buffer of this many bytes.
constexpr size_t kRecordCopyChunk = 51200;

}  // namespace quillon
