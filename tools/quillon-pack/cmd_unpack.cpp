// list / unpack: a built store folder read back as the installer reads it.
#include <ostream>

#include "base/text.h"
#include "commands.h"
#include "deploy/install_manifest.h"
#include "deploy/unZipLib.h"
#include "tool_io.h"

namespace quillon::pack {

namespace fs = std::filesystem;

namespace {

InstallManifest ReadStoreManifest(const fs::path& store, CodePage& code_page) {
  const Bytes bytes = ReadBytes(store / kStoreManifestFile);
  return InstallManifest::Parse(code_page.FromAnsi(std::string(bytes.begin(), bytes.end())));
}

// The menu datasets are carried and installed as they are.
bool CarriedAsGiven(const std::wstring& name) {
  return UpperAscii(name).find(L"NAVSET") != std::wstring::npos;
}

bool IsRecord(const Bytes& bytes) {
  if (bytes.size() < 2 || (bytes[0] & 0x0F) != 8 || ((bytes[0] << 8) | bytes[1]) % 31 != 0) {
    return false;
  }
  try {
    UnZipBytes(bytes);
    return true;
  } catch (const FormatError&) {
    return false;
  }
}

}  // namespace

std::vector<ListedEntry> ListStore(const fs::path& store, CodePage& code_page) {
  std::vector<ListedEntry> listed;
  const InstallManifest manifest = ReadStoreManifest(store, code_page);
  for (const ManifestEntry& e : manifest.entries()) {
    ListedEntry item;
    item.name = e.name;
    item.flag = e.flag;
    item.blob = ToUtf8(UpperAscii(PayloadBlobName(e.name)));
    const fs::path file = store / PathOf(item.blob);
    std::error_code ec;
    item.present = !item.blob.empty() && fs::is_regular_file(file, ec);
    if (item.present) {
      const Bytes packed = ReadBytes(file);
      item.record_size = packed.size();
      try {
        const Bytes body =
            CarriedAsGiven(e.name) ? packed : UnZipBytes(packed, FromUtf8(item.blob));
        item.body_size = body.size();
        item.body_is_record = IsRecord(body);
      } catch (const FormatError& error) {
        item.error = error.message();
      }
    }
    listed.push_back(item);
  }
  return listed;
}

void UnpackStore(const fs::path& store, const fs::path& out_folder, CodePage& code_page,
                 bool deep) {
  const InstallManifest manifest = ReadStoreManifest(store, code_page);
  std::error_code ec;
  fs::create_directories(out_folder, ec);
  for (const ManifestEntry& e : manifest.entries()) {
    const std::string blob = ToUtf8(UpperAscii(PayloadBlobName(e.name)));
    const fs::path file = store / PathOf(blob);
    if (blob.empty() || !fs::is_regular_file(file, ec)) {
      throw Error(L"The store has no record \"" + FromUtf8(blob) + L"\" for \"" + e.name + L"\"");
    }
    if (e.name.find_first_of(L"\\/") != std::wstring::npos) {
      throw Error(L"\"" + e.name + L"\" is not a plain file name");
    }
    Bytes body = ReadBytes(file);
    if (!CarriedAsGiven(e.name)) body = UnZipBytes(body, FromUtf8(blob));
    while (deep && !CarriedAsGiven(e.name) && IsRecord(body)) body = UnZipBytes(body, e.name);
    WriteBytes(out_folder / PathOf(ToUtf8(e.name)), body);
  }
}

int CommandList(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"--code-page"}, {});
  args.ExpectPositional(1, 1, "a store folder");
  const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
  int result = 0;
  for (const ListedEntry& e : ListStore(PathOf(args.positional()[0]), *code_page)) {
    out << ToUtf8(e.name) << "=" << ToUtf8(e.flag) << "  " << e.blob << "  ";
    if (!e.present) {
      out << "MISSING\n";
      result = 1;
    } else if (!e.error.empty()) {
      out << "DAMAGED: " << ToUtf8(e.error) << "\n";
      result = 1;
    } else {
      out << e.record_size << " -> " << e.body_size << " bytes"
          << (e.body_is_record ? " (the body is a compressed record)" : "") << "\n";
    }
  }
  return result;
}

int CommandUnpack(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"--code-page", "-o", "--output"}, {"--deep"});
  args.ExpectPositional(1, 1, "a store folder");
  const std::string output = args.Value("-o", args.Value("--output"));
  if (output.empty()) throw UsageError("option -o (the folder to unpack into) is required");
  const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
  UnpackStore(PathOf(args.positional()[0]), PathOf(output), *code_page, args.Has("--deep"));
  out << "unpacked into " << output << "\n";
  return 0;
}

}  // namespace quillon::pack
