#pragma once
// The product information file "PInfo.dat" beside the installer: a compressed record whose
// body is a DataSnap data packet; its first record names the reseller's product, agent,
// symbol line caption and maker.

#include <string>

#include "formats/datasnap.h"
#include "platform/ports/file_system.h"

namespace quillon {

inline const std::wstring kProductInfoName = L"PInfo.dat";

// The fields of the first record that the installer uses.
inline const std::wstring kProductNameField = L"a12";    // replaces "Quillon"
inline const std::wstring kAgentNameField = L"a18";      // the agent's name in its shortcuts
inline const std::wstring kSymbolCaptionField = L"a16";  // caption of the symbol line
inline const std::wstring kMakerShortField = L"a17";     // the maker's short name
inline const std::wstring kMakerFullField = L"a13";      // the maker's full name

// Reads the file at `path`, unpacks its record and reads the body as a data packet.
// FileError when the file cannot be read; FormatError naming the file when the record is
// damaged or its body is no data packet.
datasnap::Packet ReadProductInfoPacket(FileSystem& fs, const std::wstring& path);

}  // namespace quillon
