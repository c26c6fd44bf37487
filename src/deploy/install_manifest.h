#pragma once
// The payload store carried inside the installer: the install manifest (resource INIFILE /
// INSTALLFILEINI, lines "name=flag" in install order) and one compressed record per entry
// (resource ZIPFILE / the entry's blob name).

#include <memory>
#include <string>
#include <vector>

#include "base/stream.h"
#include "platform/ports/code_page.h"
#include "platform/ports/resources.h"

namespace quillon {

struct ManifestEntry {
  std::wstring name;  // text before the first "=" (the whole line when there is none)
  std::wstring flag;  // text after it, exact, not trimmed: "0" copy, "1" COM server, "2" COM+
};

class InstallManifest {
 public:
  InstallManifest() = default;
  explicit InstallManifest(std::vector<ManifestEntry> entries) : entries_(std::move(entries)) {}

  // Parses manifest text: lines end at CR LF, lone CR or lone LF (a final line break adds no
  // entry; an empty line in between is an entry with an empty name).
  static InstallManifest Parse(const std::wstring& text);

  const std::vector<ManifestEntry>& entries() const { return entries_; }
  // The first entry of that name (ASCII letter case ignored), or nullptr.
  const ManifestEntry* Find(const std::wstring& name) const;
  bool Contains(const std::wstring& name) const { return Find(name) != nullptr; }

 private:
  std::vector<ManifestEntry> entries_;
};

// Resource type and name of the manifest, and the resource type of the payload blobs.
inline const wchar_t kManifestType[] = L"INIFILE";
inline const wchar_t kManifestName[] = L"INSTALLFILEINI";
inline const wchar_t kPayloadType[] = L"ZIPFILE";

// Reads the manifest blob, decoding it with the ANSI code page. FormatError when the program
// carries none.
InstallManifest ReadInstallManifest(Resources& resources, CodePage& code_page);

// Blob name of a manifest entry: the name with every "." removed, letter case unchanged
// ("modHook.dll" -> "modHookdll"; the lookup ignores case).
std::wstring PayloadBlobName(const std::wstring& entry_name);

// A read-only stream over the ZIPFILE blob of that name; FormatError naming the blob when the
// store has none.
std::unique_ptr<Stream> OpenPayload(Resources& resources, const std::wstring& blob_name);

}  // namespace quillon
