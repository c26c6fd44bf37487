#pragma once
// Writes Windows shortcut files in the published Shell Link binary format: the header, the
// target as link information (a local base path, ANSI and Unicode), and the working folder,
// arguments and icon location as Unicode string data. Serves where no shell link object is
// at hand (the in-memory platform of the tests).

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class CodePage;

struct ShellLinkFields {
  std::wstring target, arguments, working_folder, icon_location;
  int32_t icon_index = 0;
};

// Empty arguments and an empty working folder are left out; the icon location is written
// whenever the fields carry one.
std::vector<uint8_t> WriteShellLinkFile(const ShellLinkFields& link, CodePage& code_page);

}  // namespace quillon
