#pragma once
// Base64 (RFC 4648 alphabet, "=" as the pad character), and the five-level encoding of the
// encoded twin of the setup configuration ("SysSetup2.ini").

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// Decodes without validating: characters outside the alphabet (line breaks, blanks, anything)
// are skipped. A "=" ends the current group of four, so padded texts may follow one another;
// a group left with a single character yields nothing.
std::vector<uint8_t> Base64Decode(const std::string& text);
// Encodes with padding. With `break_lines` the text comes in lines of 76 characters separated
// by CR LF (no line break after the last line), as mail bodies and the stored password are.
std::string Base64Encode(const std::vector<uint8_t>& bytes, bool break_lines = false);

// Levels of base64 in the encoded configuration twin.
constexpr int kConfigTwinLevels = 5;
// Undoes the twin's encoding: the file's bytes decoded five times over, each level's result
// read as the next level's text. The result is the configuration text in the ANSI code page.
std::vector<uint8_t> DecodeConfigTwin(const std::vector<uint8_t>& file_bytes);
// Encodes configuration bytes (ANSI code page) five times over; every level is broken into
// lines of 76 characters unless `break_lines` is false. The result ends with CR LF.
std::vector<uint8_t> EncodeConfigTwin(const std::vector<uint8_t>& config_bytes,
                                      bool break_lines = true);

}  // namespace quillon
