#include "formats/shell_link_writer.h"

#include "platform/ports/code_page.h"

namespace quillon {

namespace {

constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kHasIconLocation = 0x40;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint8_t kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutUtf16(std::vector<uint8_t>& b, const std::wstring& text) {
  for (wchar_t c : text) Put16(b, static_cast<uint16_t>(c));
}
void PutCounted(std::vector<uint8_t>& b, const std::wstring& text) {
  Put16(b, static_cast<uint32_t>(text.size()));
  PutUtf16(b, text);
}

// Link information with the volume of a fixed drive and the target as its local base path.
std::vector<uint8_t> LinkInfo(const std::wstring& target, CodePage& code_page) {
  std::vector<uint8_t> b(0x24, 0);
  Set32(b, 4, 0x24);  // header size: the Unicode offsets are present
  Set32(b, 8, 0x01);  // VolumeIDAndLocalBasePath
  Set32(b, 12, static_cast<uint32_t>(b.size()));
  Put32(b, 0x11);  // volume id: size, drive type, serial number, label offset, empty label
  Put32(b, 3);
  Put32(b, 0);
  Put32(b, 0x10);
  b.push_back(0);
  Set32(b, 16, static_cast<uint32_t>(b.size()));
  const std::string ansi = code_page.ToAnsi(target);
  b.insert(b.end(), ansi.begin(), ansi.end());
  b.push_back(0);
  Set32(b, 24, static_cast<uint32_t>(b.size()));
  b.push_back(0);  // empty common path suffix
  Set32(b, 28, static_cast<uint32_t>(b.size()));
  PutUtf16(b, target);
  Put16(b, 0);
  Set32(b, 32, static_cast<uint32_t>(b.size()));
  Put16(b, 0);
  Set32(b, 0, static_cast<uint32_t>(b.size()));
  return b;
}

}  // namespace

std::vector<uint8_t> WriteShellLinkFile(const ShellLinkFields& link, CodePage& code_page) {
  uint32_t flags = kHasLinkInfo | kIsUnicode;
  if (!link.working_folder.empty()) flags |= kHasWorkingDir;
  if (!link.arguments.empty()) flags |= kHasArguments;
  if (!link.icon_location.empty()) flags |= kHasIconLocation;

  std::vector<uint8_t> b;
  Put32(b, 0x4C);
  b.insert(b.end(), kLinkClsid, kLinkClsid + 16);
  Put32(b, flags);
  Put32(b, 0x20);                  // archive
  b.resize(b.size() + 24 + 4, 0);  // three file times, file size
  Put32(b, static_cast<uint32_t>(link.icon_index));
  Put32(b, 1);        // show normally
  b.resize(0x4C, 0);  // hot key and reserved fields

  const std::vector<uint8_t> info = LinkInfo(link.target, code_page);
  b.insert(b.end(), info.begin(), info.end());
  if (flags & kHasWorkingDir) PutCounted(b, link.working_folder);
  if (flags & kHasArguments) PutCounted(b, link.arguments);
  if (flags & kHasIconLocation) PutCounted(b, link.icon_location);
  Put32(b, 0);  // terminal block
  return b;
}

}  // namespace quillon
