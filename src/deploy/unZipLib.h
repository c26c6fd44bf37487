#pragma once
// Unpacking of compressed records (formats/record_format.h), in stream, file and byte-array
// form. Every failure is a FormatError whose message says "Damaged record" and names the
// record when its name is known; nothing is written to a file unless the whole body came out.

#include <cstdint>
#include <string>
#include <vector>

#include "base/stream.h"
#include "platform/ports/file_system.h"

namespace quillon {

// Unpacks the record held in `packed` (read from its start) into `output` (written from its
// start; cut to the body afterwards). On return `output` holds exactly the body and its
// position is at its end. `name` (a file or blob name, may be empty) goes into error
// messages. A negative length gives an empty body; a text block longer than 51201 bytes, a
// zlib stream that is corrupt, ends early or fails its checksum raise FormatError.
void UnZipStream(Stream& packed, Stream& output, const std::wstring& name = std::wstring());

// Unpacks into memory, then saves the body as `file_name`, replacing an existing file.
// `name` names the record in errors; by default the target file.
void UnZipStreamToFile(FileSystem& fs, const std::wstring& file_name, Stream& packed,
                       const std::wstring& name = std::wstring());

// Loads `source` whole and unpacks it into `target` as UnZipStreamToFile does.
void UnZipFile(FileSystem& fs, const std::wstring& source, const std::wstring& target);

// The body of the record held in `packed`.
std::vector<uint8_t> UnZipBytes(const std::vector<uint8_t>& packed,
                                const std::wstring& name = std::wstring());

// Position 0, all bytes written, position 0 again (the stream is not cut first).
void BytesToStream(const std::vector<uint8_t>& bytes, Stream& stream);
// The whole stream from position 0.
std::vector<uint8_t> StreamToBytes(Stream& stream);

}  // namespace quillon
