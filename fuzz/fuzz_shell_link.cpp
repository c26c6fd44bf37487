// Shortcut files: any bytes are read without reading outside them, and what the writer makes
// is read back whole.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/shell_link_writer.h"
#include "fuzz_check.h"
#include "platform/fake/fake_code_page.h"
#include "support/shell_link_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quillon::FakeCodePage code_page("GBK");
  const std::vector<uint8_t> bytes(data, data + size);
  const auto link = quillon::ReadShellLinkFile(bytes, code_page);
  if (link) {
    quillon::ShellLinkFields fields{link->target, link->arguments, link->working_folder,
                                    link->icon_location, link->icon_index};
    const auto again =
        quillon::ReadShellLinkFile(quillon::WriteShellLinkFile(fields, code_page), code_page);
    FUZZ_CHECK(again && again->arguments == link->arguments &&
               again->working_folder == link->working_folder);
  }
  return 0;
}
