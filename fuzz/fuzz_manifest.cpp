// The payload store: the first byte gives the manifest's length, the manifest follows, and
// the rest is the blob of the first entry. Every entry is looked up and unpacked as the
// install procedure does; a missing or damaged blob must be a FormatError.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "deploy/install_manifest.h"
#include "deploy/unZipLib.h"
#include "fuzz_check.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quillon::FakeCodePage code_page("GBK");
  if (size == 0) return 0;
  const size_t manifest_size = std::min<size_t>(data[0], size - 1);
  quillon::FakeResources resources;
  resources.Add(quillon::kManifestType, quillon::kManifestName,
                std::vector<uint8_t>(data + 1, data + 1 + manifest_size));
  const quillon::InstallManifest manifest = quillon::ReadInstallManifest(resources, code_page);
  if (!manifest.entries().empty()) {
    resources.Add(quillon::kPayloadType, quillon::PayloadBlobName(manifest.entries()[0].name),
                  std::vector<uint8_t>(data + 1 + manifest_size, data + size));
  }
  for (const quillon::ManifestEntry& entry : manifest.entries()) {
    FUZZ_CHECK(manifest.Find(entry.name) != nullptr);
    const std::wstring blob = quillon::PayloadBlobName(entry.name);
    FUZZ_CHECK(blob.find(L'.') == std::wstring::npos);
    try {
      std::unique_ptr<quillon::Stream> stream = quillon::OpenPayload(resources, blob);
      quillon::MemoryStream body;
      quillon::UnZipStream(*stream, body, blob);
      FUZZ_CHECK(body.Position() == body.Size());
    } catch (const quillon::FormatError&) {
    }
  }
  return 0;
}
