// demo-payload: writes the demo payload that the installer carries when no real payload is
// given: the 23 files of the install manifest, in install order, with the manifest beside them,
// and the images from which `quillon-pack iconset` makes the icon set "glyphs.ico".
//
//   demo-payload OUT_DIR [--server FILE]...
//
// OUT_DIR/payload/      every manifest file except glyphs.ico (the build adds it)
// OUT_DIR/icons/        the icon set's images, .bmp and .png
// OUT_DIR/InstallFile.ini  the install manifest, "name=flag" lines ending in CR LF
//
// A --server FILE (a built COM server) is copied in under its own file name and replaces the
// placeholder of that entry. Every other file is a small placeholder whose bytes say what it
// stands for. "tabvo1.dll", "K1.dat" and "K2.dat" are themselves compressed records, as the
// product keeps them; the menu datasets "Navset*.dat" are DataSnap data packets.

#include <zlib.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/error.h"
#include "formats/datasnap.h"
#include "formats/record_writer.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

struct Entry {
  const char* name;
  const char* flag;
};

// The install manifest the installer carries, in install order.
const Entry kManifest[] = {
    {"tabvo1.dll", "0"},
    {"Renovo.exe", "0"},
    {"Stampfile.INI", "0"},
    {"glyphs.ico", "0"},
    {"Panemark.ICO", "0"},
    {"SheetDesk.exe", "0"},
    {"Navset1.dat", "0"},
    {"Navset1B.dat", "0"},
    {"Navset1C.dat", "0"},
    {"Navset2.dat", "0"},
    {"Navset2B.dat", "0"},
    {"Navset2C.dat", "0"},
    {"K1.dat", "0"},
    {"K2.dat", "0"},
    {"modHook.dll", "1"},
    {"modCalc.dll", "1"},
    {"VXFunction.xla", "0"},
    {"VXKalder.dll", "1"},
    {"VXKALDERAgent.exe", "0"},
    {"VXKALDERWebConsole.ocx", "1"},
    {"UnInstallClient_VXKALDER.exe", "0"},
    {"Lastmark.INI", "0"},
    {"nextgen.xdll", "0"},
};

void Append(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

void PutU16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(Bytes& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void PutU32BigEndian(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// `head` followed by text naming the placeholder, padded with a repeated line to about
// `size` bytes, so that a look at any installed file tells what it stands for.
Bytes Placeholder(const std::string& head, const std::string& name, const std::string& kind,
                  size_t size = 320) {
  Bytes out;
  Append(out, head);
  Append(out, "Quillon demo payload: " + name + " (" + kind + ")\r\n");
  const std::string filler = "placeholder of " + name + "; the real payload replaces it.\r\n";
  while (out.size() + filler.size() <= size) Append(out, filler);
  return out;
}

// An RGBA image drawn from a seed: a diagonal gradient with a frame, different per image.
struct Image {
  int width;
  int height;
  Bytes rgba;
};

Image DrawImage(int size, unsigned seed) {
  Image image{size, size, Bytes(static_cast<size_t>(size) * size * 4)};
  const uint8_t r = static_cast<uint8_t>(40 + (seed * 67) % 200);
  const uint8_t g = static_cast<uint8_t>(40 + (seed * 131) % 200);
  const uint8_t b = static_cast<uint8_t>(40 + (seed * 29) % 200);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint8_t* p = &image.rgba[(static_cast<size_t>(y) * size + x) * 4];
      const bool frame = x == 0 || y == 0 || x == size - 1 || y == size - 1;
      const int shade = (x + y) * 255 / (2 * size);
      p[0] = frame ? 0 : static_cast<uint8_t>((r + shade) / 2);
      p[1] = frame ? 0 : static_cast<uint8_t>((g + shade) / 2);
      p[2] = frame ? 0 : static_cast<uint8_t>((b + (255 - shade)) / 2);
      p[3] = 255;
    }
  }
  return image;
}

void PngChunk(Bytes& out, const char* type, const Bytes& data) {
  PutU32BigEndian(out, static_cast<uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutU32BigEndian(out,
                  static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// A PNG file of the image: 8-bit RGBA, no filtering.
Bytes EncodePng(const Image& image) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutU32BigEndian(header, static_cast<uint32_t>(image.width));
  PutU32BigEndian(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // depth 8, RGBA, deflate, filter 0, no interlace
  PngChunk(out, "IHDR", header);
  Bytes raw;
  const size_t stride = static_cast<size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // filter type None
    raw.insert(raw.end(), image.rgba.begin() + y * stride, image.rgba.begin() + (y + 1) * stride);
  }
  PngChunk(out, "IDAT", quillon::ZlibCompress(raw, 9));
  PngChunk(out, "IEND", {});
  return out;
}

// A Windows bitmap file of the image: 24 bits, bottom-up rows padded to four bytes.
Bytes EncodeBmp(const Image& image) {
  const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t pixels = stride * static_cast<uint32_t>(image.height);
  Bytes out = {'B', 'M'};
  PutU32(out, 14 + 40 + pixels);
  PutU32(out, 0);
  PutU32(out, 14 + 40);
  PutU32(out, 40);  // BITMAPINFOHEADER
  PutU32(out, static_cast<uint32_t>(image.width));
  PutU32(out, static_cast<uint32_t>(image.height));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);  // BI_RGB
  PutU32(out, pixels);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    size_t row_start = out.size();
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
      out.insert(out.end(), {p[2], p[1], p[0]});
    }
    while (out.size() - row_start < stride) out.push_back(0);
  }
  return out;
}

// A Windows icon file with one 32x32 image stored as PNG.
Bytes EncodeIcon(const Image& image) {
  const Bytes png = EncodePng(image);
  Bytes out;
  PutU16(out, 0);
  PutU16(out, 1);  // icon
  PutU16(out, 1);  // one image
  out.push_back(static_cast<uint8_t>(image.width));
  out.push_back(static_cast<uint8_t>(image.height));
  out.push_back(0);  // no palette
  out.push_back(0);
  PutU16(out, 1);   // planes
  PutU16(out, 32);  // bits per pixel
  PutU32(out, static_cast<uint32_t>(png.size()));
  PutU32(out, 6 + 16);
  out.insert(out.end(), png.begin(), png.end());
  return out;
}

// A menu dataset: a DataSnap data packet of a few menu rows.
Bytes MenuDataset(const std::string& name) {
  namespace ds = quillon::datasnap;
  ds::Packet packet;
  packet.columns = {ds::FixedColumn("iMenuID", ds::kInt, 4), ds::ZStringColumn("sCaption", 40),
                    ds::ZStringColumn("sAction", 60)};
  const char* captions[] = {"File", "Report", "Publish", "Help"};
  int id = 1;
  for (const char* caption : captions) {
    ds::Row row;
    row.values = {ds::IntValue(id, 4), ds::ZStringValue(caption),
                  ds::ZStringValue(name + ":" + caption)};
    packet.rows.push_back(row);
    ++id;
  }
  return ds::WritePacket(packet);
}

Bytes Manifest() {
  Bytes out;
  for (const Entry& entry : kManifest) {
    Append(out, std::string(entry.name) + "=" + entry.flag + "\r\n");
  }
  return out;
}

Bytes PayloadFile(const std::string& name) {
  const std::string upper = [&] {
    std::string u = name;
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
  }();
  if (upper == "STAMPFILE.INI") {
    Bytes out;
    Append(out, "UpdateDateTime=20150527213310640\r\n");
    return out;
  }
  if (upper == "LASTMARK.INI") {
    Bytes out;
    Append(out, "LastMark=Quillon demo payload\r\n");
    return out;
  }
  if (upper == "TABVO1.DLL") {
    // The product keeps this library packed; the installer unpacks its installed copy again.
    return quillon::WriteRecord(Placeholder("MZ", name, "library, packed once more"));
  }
  if (upper == "K1.DAT" || upper == "K2.DAT") {
    return quillon::WriteRecord(EncodePng(DrawImage(48, upper == "K1.DAT" ? 101 : 102)));
  }
  if (upper.find("NAVSET") != std::string::npos) return MenuDataset(name);
  if (upper == "PANEMARK.ICO") return EncodeIcon(DrawImage(32, 7));
  if (upper == "VXFUNCTION.XLA") {
    return Placeholder("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", name, "Excel add-in workbook");
  }
  const std::string extension = upper.substr(upper.rfind('.') + 1);
  if (extension == "EXE") return Placeholder("MZ", name, "program");
  if (extension == "DLL" || extension == "OCX") return Placeholder("MZ", name, "COM server");
  return Placeholder("", name, "product file");
}

// The icon set's images: the product's glyphs are toolbar bitmaps and PNG icons.
void WriteIcons(const fs::path& folder) {
  const char* stems[] = {"new",     "open",   "save",    "print",  "cut",    "copy",  "paste",
                         "undo",    "redo",   "find",    "filter", "sort",   "chart", "table",
                         "publish", "report", "refresh", "login",  "logout", "help"};
  unsigned seed = 1;
  for (const char* stem : stems) {
    WriteFile(folder / (std::string("btn_") + stem + ".bmp"), EncodeBmp(DrawImage(16, seed++)));
    WriteFile(folder / (std::string(stem) + "32.png"), EncodePng(DrawImage(32, seed++)));
  }
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: demo-payload OUT_DIR [--server FILE]...\n";
    return 2;
  }
  const fs::path out_dir = argv[1];
  std::vector<fs::path> servers;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--server" && i + 1 < argc) {
      servers.emplace_back(argv[++i]);
    } else {
      std::cerr << "demo-payload: unknown argument '" << arg << "'\n";
      return 2;
    }
  }

  const fs::path payload = out_dir / "payload";
  const fs::path icons = out_dir / "icons";
  // A fresh folder each time: a file left over from another manifest must not be carried.
  fs::remove_all(payload);
  fs::remove_all(icons);
  fs::create_directories(payload);
  fs::create_directories(icons);

  for (const Entry& entry : kManifest) {
    if (std::string(entry.name) == "glyphs.ico") continue;  // made from icons/ by the build
    WriteFile(payload / entry.name, PayloadFile(entry.name));
  }
  for (const fs::path& server : servers) {
    const std::string name = server.filename().string();
    bool listed = false;
    for (const Entry& entry : kManifest) listed = listed || name == entry.name;
    if (!listed) {
      std::cerr << "demo-payload: " << name << " is not an entry of the install manifest\n";
      return 1;
    }
    WriteFile(payload / name, ReadFile(server));
  }
  WriteIcons(icons);
  WriteFile(out_dir / "InstallFile.ini", Manifest());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "demo-payload: " << e.what() << "\n";
    return 1;
  }
}
