#pragma once
// Writes compressed records (see record_format.h).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/record_format.h"

namespace quillon {

struct RecordOptions {
  // zlib level, 0 (stored) to 9; 1, the fastest, gives the "78 01" header of the payload store.
  int level = 1;
  // Tag to write; by default DefaultRecordTag of the body length. The marker without a text
  // block writes an empty block.
  std::optional<uint32_t> tag;
  // A text block (at most kMaxRecordTextBlock bytes); the tag is then the marker.
  std::optional<std::string> text_block;
};

// The compressed record of `body`. FormatError for a body longer than 2^31 - 1 bytes, a text
// block too long, a text block with a tag other than the marker, or a level out of range.
std::vector<uint8_t> WriteRecord(const std::vector<uint8_t>& body,
                                 const RecordOptions& options = {});

// What the zlib stream of that record holds: tag, length, the text block if any, the body.
// The same errors as WriteRecord, except for the level, which it does not use.
std::vector<uint8_t> RecordContents(const std::vector<uint8_t>& body,
                                    const RecordOptions& options = {});

// The tag the payload store uses: about 2.6 times the body length (88 for 34 bytes), moved by
// one where it would be the text block marker.
uint32_t DefaultRecordTag(size_t body_length);

// One zlib stream (zlib header, 15-bit window) of arbitrary bytes at `level` (0 to 9); for
// records written by hand in tests and seed corpora.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw, int level = 1);

}  // namespace quillon
