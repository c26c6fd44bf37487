// Writes small seed corpora for the fuzz targets, made with the formats' own writers:
//   fuzz_seeds OUT_DIR   ->  OUT_DIR/{base64,datasnap,record,manifest}/seed-N
// (the INI target's seeds are the case files of tests/data/ini_cases).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/base64.h"
#include "formats/datasnap.h"
#include "formats/record_writer.h"
#include "formats/shell_link_writer.h"
#include "platform/fake/fake_code_page.h"

namespace fs = std::filesystem;
namespace ds = quillon::datasnap;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

void Write(const fs::path& dir, const std::vector<Bytes>& seeds) {
  fs::create_directories(dir);
  for (size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream out(dir / ("seed-" + std::to_string(i)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seeds[i].data()),
              static_cast<std::streamsize>(seeds[i].size()));
  }
}

std::vector<Bytes> Packets() {
  ds::Packet icons;
  icons.columns = {ds::ZStringColumn("sName", 50), ds::BytesColumn("sFile", 4, "Binary")};
  icons.rows = {{0, {ds::ZStringValue("a.bmp"), ds::BytesValue({'B', 'M', 1, 2})}},
                {0, {ds::ZStringValue("b.png"), ds::BytesValue({})}}};

  ds::Packet pinfo;
  for (const char* name : {"a12", "a13", "a16", "a17", "a18"}) {
    pinfo.columns.push_back(ds::UnicodeColumn(name, 200));
  }
  pinfo.rows = {{0,
                 {ds::UnicodeValue(L"Nova"), ds::UnicodeValue(L"\x91CF\x5B50"), ds::NullValue(),
                  ds::UnicodeValue(L"N"), ds::UnicodeValue(L"")}}};

  ds::Packet types;
  types.columns = {ds::FixedColumn("i1", ds::kInt, 1), ds::FixedColumn("u8", ds::kUInt, 8),
                   ds::FixedColumn("b", ds::kBool, 2), ds::FixedColumn("f", ds::kFloat, 8),
                   ds::ZStringColumn("z", 300),        ds::BytesColumn("m", 4, "WideText"),
                   ds::BytesColumn("b1", 1, "")};
  types.columns[0].properties.push_back(ds::IntProperty("WIDTH", 4, 1));
  types.properties = {ds::UIntProperty("LCID", 4, 2052)};
  ds::Property log;
  log.name = "CHANGE_LOG";
  log.type = {static_cast<uint16_t>(ds::kUInt | ds::kArrayFlag), 4};
  log.count = 3;
  log.value = Bytes(12, 1);
  types.properties.push_back(log);
  types.rows = {
      {ds::kRowOriginal,
       {ds::IntValue(-1, 1), ds::IntValue(7, 8), ds::BoolValue(true),
        ds::Value{ds::ValueState::Present, Bytes(8, 0)}, ds::ZStringValue("old"),
        ds::UnicodeValue(L"m"), ds::BytesValue({1})}},
      {ds::kRowModified,
       {ds::Value{ds::ValueState::NotChanged, {}}, ds::NullValue(), ds::BoolValue(false),
        ds::NullValue(), ds::ZStringValue("new"), ds::Value{ds::ValueState::Delayed, {}},
        ds::BytesValue({})}},
  };
  return {ds::WritePacket(icons), ds::WritePacket(pinfo), ds::WritePacket(types)};
}

std::vector<Bytes> Records(const std::vector<Bytes>& packets) {
  quillon::RecordOptions text;
  text.text_block = "note";
  quillon::RecordOptions stored;
  stored.level = 0;
  quillon::RecordOptions best;
  best.level = 9;
  Bytes negative = quillon::ZlibCompress({5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
  return {
      quillon::WriteRecord(B("UpdateDateTime=20150527213310640\r\n")),
      quillon::WriteRecord(B("text block"), text),
      quillon::WriteRecord(quillon::WriteRecord(B("PNG twice"))),
      quillon::WriteRecord({}, stored),
      quillon::WriteRecord(packets[0], best),
      negative,
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds OUT_DIR\n");
    return 2;
  }
  const fs::path out = argv[1];
  const std::vector<Bytes> packets = Packets();
  Write(out / "datasnap", packets);
  const std::vector<Bytes> records = Records(packets);
  // The record target's first byte: 0 packed bytes follow, 1 a decompressed layout follows.
  std::vector<Bytes> record_seeds;
  for (const Bytes& r : records) {
    Bytes seed = {0};
    seed.insert(seed.end(), r.begin(), r.end());
    record_seeds.push_back(seed);
  }
  record_seeds.push_back({1, 88, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 'x'});
  record_seeds.push_back({1, 0xD2, 0x02, 0x96, 0x49, 2, 0, 0, 0, 1, 0, 0, 0, 'T', 'o', 'k'});
  record_seeds.push_back({1, 5, 0, 0, 0, 0, 0, 0, 0x80});
  Write(out / "record", record_seeds);

  const std::string ini = "[Setup]\r\nDEFAULT_PATH=C:\\Tovrin\r\n";
  const std::string b64 = quillon::Base64Encode(B("foobar"), true);
  Write(out / "base64", {B("Zm9vYmFy"), B("Zg==Zm8=\r\n"), quillon::EncodeConfigTwin(B(ini)),
                         B(quillon::Base64Encode(Bytes(100, 0xA5), true))});

  std::vector<Bytes> manifests;
  for (const std::string& text : {std::string("Stampfile.INI=0\r\nmodHook.dll=1\r\n"),
                                  std::string("K1.dat=0\n\rx=2\r\n=1")}) {
    Bytes seed = {static_cast<uint8_t>(text.size())};
    seed.insert(seed.end(), text.begin(), text.end());
    seed.insert(seed.end(), records[0].begin(), records[0].end());
    manifests.push_back(seed);
  }
  Write(out / "manifest", manifests);

  quillon::FakeCodePage code_page("GBK");
  Write(out / "shell_link",
        {quillon::WriteShellLinkFile({L"C:\\Q\\CLIENT\\VXKALDERAgent.exe", L"10.0.0.1 rpt",
                                      L"C:\\Q\\CLIENT\\", L"C:\\Q\\a.ico", 0},
                                     code_page),
         quillon::WriteShellLinkFile({L"D:\\报表\\SheetDesk.exe", L"", L"", L"", 0}, code_page)});
  Bytes pe(0x98, 0);
  pe[0] = 'M';
  pe[1] = 'Z';
  pe[0x3C] = 0x80;
  pe[0x80] = 'P';
  pe[0x81] = 'E';
  pe[0x84] = 0x4C;
  pe[0x85] = 0x01;
  Write(out / "pe_header", {pe});
  Write(out / "pe_resources", {pe});
  return 0;
}
