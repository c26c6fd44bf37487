// The payload store this program carries exactly as QuillonSetup.exe does (the same resource
// objects), read back through the resource adapter, the manifest reader and the unpacking
// code: the 23 entries in install order with their flags, a record for every entry, and the
// forms the install relies on (the update stamp line, the twice-packed entries, the menu
// datasets carried as they are, the icon set, the built COM servers).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/stream.h"
#include "base/text.h"
#include "demo_comservers.h"
#include "deploy/install_manifest.h"
#include "deploy/unZipLib.h"
#include "formats/datasnap.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_resources.h"

namespace quillon {
namespace {

struct Expected {
  const wchar_t* name;
  const wchar_t* flag;
  const wchar_t* blob;
};

// The install manifest the installer carries.
const Expected kManifest[] = {
    {L"tabvo1.dll", L"0", L"TABVO1DLL"},
    {L"Renovo.exe", L"0", L"RENOVOEXE"},
    {L"Stampfile.INI", L"0", L"STAMPFILEINI"},
    {L"glyphs.ico", L"0", L"GLYPHSICO"},
    {L"Panemark.ICO", L"0", L"PANEMARKICO"},
    {L"SheetDesk.exe", L"0", L"SHEETDESKEXE"},
    {L"Navset1.dat", L"0", L"NAVSET1DAT"},
    {L"Navset1B.dat", L"0", L"NAVSET1BDAT"},
    {L"Navset1C.dat", L"0", L"NAVSET1CDAT"},
    {L"Navset2.dat", L"0", L"NAVSET2DAT"},
    {L"Navset2B.dat", L"0", L"NAVSET2BDAT"},
    {L"Navset2C.dat", L"0", L"NAVSET2CDAT"},
    {L"K1.dat", L"0", L"K1DAT"},
    {L"K2.dat", L"0", L"K2DAT"},
    {L"modHook.dll", L"1", L"MODHOOKDLL"},
    {L"modCalc.dll", L"1", L"MODCALCDLL"},
    {L"VXFunction.xla", L"0", L"VXFUNCTIONXLA"},
    {L"VXKalder.dll", L"1", L"VXKALDERDLL"},
    {L"VXKALDERAgent.exe", L"0", L"VXKALDERAGENTEXE"},
    {L"VXKALDERWebConsole.ocx", L"1", L"VXKALDERWEBCONSOLEOCX"},
    {L"UnInstallClient_VXKALDER.exe", L"0", L"UNINSTALLCLIENT_VXKALDEREXE"},
    {L"Lastmark.INI", L"0", L"LASTMARKINI"},
    {L"nextgen.xdll", L"0", L"NEXTGENXDLL"},
};

using Bytes = std::vector<uint8_t>;

Bytes Blob(Resources& resources, const std::wstring& blob_name) {
  std::unique_ptr<Stream> stream = OpenPayload(resources, blob_name);
  return StreamToBytes(*stream);
}

// The body of the entry's record, unpacked as the installer unpacks it.
Bytes Unpacked(Resources& resources, const std::wstring& blob_name) {
  std::unique_ptr<Stream> packed = OpenPayload(resources, blob_name);
  MemoryStream body;
  UnZipStream(*packed, body, blob_name);
  return body.Take();
}

bool StartsWith(const Bytes& bytes, const std::string& prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

const std::string kPacketMagic("\x96\x19\xE0\xBD", 4);
const std::string kPngMagic("\x89PNG\r\n\x1A\n", 8);

TEST(PayloadStore, CarriesTheManifestInOrderWithARecordForEveryEntry) {
  Win32Resources resources;
  Win32CodePage code_page;
  const InstallManifest manifest = ReadInstallManifest(resources, code_page);
  ASSERT_EQ(manifest.entries().size(), std::size(kManifest));
  for (size_t i = 0; i < std::size(kManifest); ++i) {
    const ManifestEntry& entry = manifest.entries()[i];
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.name, kManifest[i].name);
    EXPECT_EQ(entry.flag, kManifest[i].flag);
    EXPECT_EQ(UpperAscii(PayloadBlobName(entry.name)), kManifest[i].blob);
    ASSERT_TRUE(resources.Find(kPayloadType, kManifest[i].blob).has_value());
    if (std::wstring(kManifest[i].name).find(L"Navset") == 0) continue;  // carried as they are
    EXPECT_NO_THROW(Unpacked(resources, PayloadBlobName(entry.name)));
  }
  EXPECT_TRUE(manifest.Contains(L"VXKALDER.DLL"));
}

TEST(PayloadStore, EntriesHaveTheFormsTheInstallReliesOn) {
  Win32Resources resources;
  // The update stamp is read back after the install.
  const Bytes stamp = Unpacked(resources, L"StampfileINI");
  EXPECT_EQ(std::string(stamp.begin(), stamp.end()), "UpdateDateTime=20150527213310640\r\n");

  // Menu datasets are written without unpacking: the blob is the data packet itself.
  for (const wchar_t* blob : {L"NAVSET1DAT", L"NAVSET1BDAT", L"NAVSET1CDAT", L"NAVSET2DAT",
                              L"NAVSET2BDAT", L"NAVSET2CDAT"}) {
    SCOPED_TRACE(blob);
    const Bytes packet = Blob(resources, blob);
    EXPECT_TRUE(StartsWith(packet, kPacketMagic));
    EXPECT_NO_THROW(datasnap::ReadPacket(packet));
  }

  // Installed as records, which the product (K1, K2) or the install itself (tabvo1.dll)
  // unpacks once more.
  const Bytes k1 = Unpacked(resources, L"K1dat");
  EXPECT_TRUE(StartsWith(UnZipBytes(k1), kPngMagic));
  EXPECT_TRUE(StartsWith(UnZipBytes(Unpacked(resources, L"K2dat")), kPngMagic));
  EXPECT_NE(k1, Unpacked(resources, L"K2dat"));
  EXPECT_TRUE(StartsWith(UnZipBytes(Unpacked(resources, L"tabvo1dll")), "MZ"));

  // The icon set: a data packet of image rows named .bmp and .png.
  const datasnap::Packet icons = datasnap::ReadPacket(Unpacked(resources, L"glyphsico"));
  Win32CodePage code_page;
  ASSERT_GE(icons.rows.size(), 24u);
  for (const datasnap::Row& row : icons.rows) {
    const std::wstring name = icons.Text(row, L"sName", code_page);
    const Bytes image = icons.Blob(row, L"sFile");
    SCOPED_TRACE(name);
    const std::wstring extension = name.substr(name.size() - 4);
    if (extension == L".png") {
      EXPECT_TRUE(StartsWith(image, kPngMagic));
    } else {
      EXPECT_EQ(extension, L".bmp");
      EXPECT_TRUE(StartsWith(image, "BM"));
    }
  }
}

#ifdef QUILLON_DEMO_PAYLOAD
// The demo payload carries the COM servers this build made, byte for byte.
TEST(PayloadStore, DemoPayloadCarriesTheBuiltComServers) {
  Win32Resources resources;
  for (const DemoComServer& server : kDemoComServers) {
    SCOPED_TRACE(server.file_name);
    std::wstring host_path = L"Z:";
    for (const char* p = server.built_path; *p != '\0'; ++p) {
      host_path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    }
    std::ifstream file(std::filesystem::path(host_path), std::ios::binary);
    ASSERT_TRUE(file) << "cannot read the built server";
    const Bytes built((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::wstring name;
    for (const char* p = server.file_name; *p != '\0'; ++p) name += static_cast<wchar_t>(*p);
    EXPECT_EQ(Unpacked(resources, PayloadBlobName(name)), built);
  }
}
#endif

}  // namespace
}  // namespace quillon
