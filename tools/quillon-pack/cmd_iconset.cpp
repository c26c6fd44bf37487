// iconset: the icon-set dataset made from a folder of images.
#include <algorithm>
#include <ostream>

#include "base/text.h"
#include "commands.h"
#include "formats/datasnap.h"
#include "tool_io.h"

namespace quillon::pack {

namespace ds = datasnap;
namespace fs = std::filesystem;

Bytes MakeIconSet(const std::vector<NamedFile>& images, CodePage& code_page) {
  ds::Packet packet;
  packet.columns = {ds::ZStringColumn("sName", kIconNameWidth),
                    ds::BytesColumn("sFile", 4, "Binary")};
  for (const NamedFile& image : images) {
    const std::wstring what = L"image name \"" + image.name + L"\"";
    const std::string name = ToCodePage(code_page, image.name, what);
    if (name.empty()) throw Error(L"An image name is empty");
    if (name.size() > kIconNameWidth) {
      throw Error(L"The " + what + L" is longer than 50 bytes in the code page");
    }
    if (image.bytes.size() > 0x7FFFFFFFu)
      throw Error(L"The image \"" + image.name + L"\" is too big");
    packet.rows.push_back(ds::Row{0, {ds::ZStringValue(name), ds::BytesValue(image.bytes)}});
  }
  return ds::WritePacket(packet);
}

std::vector<NamedFile> ReadImageFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    throw Error(L"\"" + FromUtf8(Utf8Of(folder)) + L"\" is not a folder");
  }
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().u8string() < b.filename().u8string();
  });
  std::vector<NamedFile> images;
  for (const fs::path& file : files) {
    images.push_back({FromUtf8(Utf8Of(file.filename())), ReadBytes(file)});
  }
  return images;
}

int CommandIconset(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"--code-page", "-o", "--output"}, {});
  args.ExpectPositional(1, 1, "one folder of images");
  std::string output = args.Value("-o", args.Value("--output"));
  if (output.empty()) throw UsageError("option -o (the icon-set file to write) is required");
  const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
  const std::vector<NamedFile> images = ReadImageFolder(PathOf(args.positional()[0]));
  WriteBytes(PathOf(output), MakeIconSet(images, *code_page));
  out << "wrote " << output << " with " << images.size() << " images\n";
  return 0;
}

}  // namespace quillon::pack
