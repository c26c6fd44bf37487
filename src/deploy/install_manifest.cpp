#include "deploy/install_manifest.h"

#include "base/error.h"
#include "base/text.h"

namespace quillon {

InstallManifest InstallManifest::Parse(const std::wstring& text) {
  std::vector<ManifestEntry> entries;
  for (const std::wstring& line : SplitLines(text)) {
    const size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) {
      entries.push_back({line, std::wstring()});
    } else {
      entries.push_back({line.substr(0, eq), line.substr(eq + 1)});
    }
  }
  return InstallManifest(std::move(entries));
}

const ManifestEntry* InstallManifest::Find(const std::wstring& name) const {
  for (const ManifestEntry& entry : entries_) {
    if (SameTextAscii(entry.name, name)) return &entry;
  }
  return nullptr;
}

InstallManifest ReadInstallManifest(Resources& resources, CodePage& code_page) {
  const std::optional<BlobView> blob = resources.Find(kManifestType, kManifestName);
  if (!blob) {
    throw FormatError(LocalText{
        L"程序中缺少安装清单（INIFILE 类型的资源 INSTALLFILEINI）",
        L"程式中缺少安裝清單（INIFILE 類型的資源 INSTALLFILEINI）",
        L"The install manifest (resource INSTALLFILEINI of type INIFILE) is missing from the "
        L"program"});
  }
  std::string bytes;
  if (blob->size > 0) bytes.assign(reinterpret_cast<const char*>(blob->data), blob->size);
  return InstallManifest::Parse(code_page.FromAnsi(bytes));
}

std::wstring PayloadBlobName(const std::wstring& entry_name) {
  std::wstring blob;
  for (wchar_t c : entry_name) {
    if (c != L'.') blob += c;
  }
  return blob;
}

std::unique_ptr<Stream> OpenPayload(Resources& resources, const std::wstring& blob_name) {
  const std::optional<BlobView> blob = resources.Find(kPayloadType, blob_name);
  if (!blob) {
    throw FormatError(LocalText{L"程序中缺少安装文件 \"" + blob_name + L"\"（ZIPFILE 类型的资源）",
                                L"程式中缺少安裝檔案 \"" + blob_name + L"\"（ZIPFILE 類型的資源）",
                                L"The payload \"" + blob_name +
                                    L"\" (resource of type ZIPFILE) is missing from the program"});
  }
  return std::make_unique<ReadOnlyViewStream>(blob->data, blob->size);
}

}  // namespace quillon
