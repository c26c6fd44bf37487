// quillon-pack through its library: the files it makes, read back with the installer's own
// readers, its resource script and its command line. The tool is built natively only.
#ifdef QUILLON_PACK_TOOL

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/text.h"
#include "deflate_pack.h"
#include "deploy/install_manifest.h"
#include "deploy/unZipLib.h"
#include "formats/base64.h"
#include "formats/datasnap.h"
#include "formats/record_writer.h"
#include "pack.h"
#include "platform/fake/fake_code_page.h"

namespace quillon::pack {
namespace {

namespace fs = std::filesystem;
namespace ds = datasnap;

class PackTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() /
        ("quillon-pack-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Put(const std::string& relative, const std::string& content) {
    const fs::path path = dir_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static Bytes ReadB(const fs::path& path) {
    const std::string s = Read(path);
    return Bytes(s.begin(), s.end());
  }

  fs::path dir_;
  FakeCodePage gbk_{"GBK"};
};

const ProductNames kNames = {L"\x91CF\x5B50", L"\x8FDC\x666F\x4FE1\x606F\x80A1\x4EFD\x516C\x53F8",
                             L"\x91CF\x5B50\x62A5\x8868", L"\x8FDC\x666F", L""};

TEST_F(PackTool, ProductInfoReadsBackAsTheInstallerReadsIt) {
  for (const bool unicode : {false, true}) {
    const Bytes file = MakeProductInfo(kNames, unicode, gbk_);
    const ds::Packet packet = ds::ReadPacket(UnZipBytes(file, L"PInfo.dat"));
    ASSERT_EQ(packet.columns.size(), 5u);
    EXPECT_EQ(packet.columns[0].type.code, unicode ? 0x4A : 0x49);
    EXPECT_EQ(packet.FirstRecordText(L"a12", gbk_), kNames.product);
    EXPECT_EQ(packet.FirstRecordText(L"a13", gbk_), kNames.maker_full);
    EXPECT_EQ(packet.FirstRecordText(L"a16", gbk_), kNames.caption);
    EXPECT_EQ(packet.FirstRecordText(L"a17", gbk_), kNames.maker_short);
    EXPECT_EQ(packet.FirstRecordText(L"a18", gbk_), L"");
  }
  // UTF-16 fields read the same whatever the reading system's code page.
  FakeCodePage big5("BIG5");
  const ds::Packet wide = ds::ReadPacket(UnZipBytes(MakeProductInfo(kNames, true, gbk_)));
  EXPECT_EQ(wide.FirstRecordText(L"a13", big5), kNames.maker_full);
}

TEST_F(PackTool, ProductInfoRefusesTextTheCodePageLacks) {
  ProductNames names = kNames;
  names.agent = L"Agent \xD55C";  // a Hangul syllable: not in GBK
  EXPECT_THROW(MakeProductInfo(names, false, gbk_), Error);
  EXPECT_NO_THROW(MakeProductInfo(names, true, gbk_));
}

TEST_F(PackTool, IconSetHasTheCarriedLayout) {
  std::vector<NamedFile> images;
  for (int i = 0; i < 410; ++i) {
    images.push_back({L"img" + IntToText(i) + (i % 2 ? L".png" : L".bmp"), Bytes(i % 7, 0x42)});
  }
  const Bytes file = MakeIconSet(images, gbk_);
  ASSERT_GE(file.size(), 87u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 24),
            (Bytes{0x96, 0x19, 0xE0, 0xBD, 1, 0, 0, 0, 24, 0, 0,  0,
                   2,    0,    0x9A, 0x01, 0, 0, 3, 0, 0,  0, 87, 0}));
  const ds::Packet packet = ds::ReadPacket(file);
  ASSERT_EQ(packet.rows.size(), 410u);
  EXPECT_EQ(packet.Text(packet.rows[409], L"sName", gbk_), L"img409.png");
  EXPECT_EQ(packet.Blob(packet.rows[409], L"sFile"), Bytes(409 % 7, 0x42));

  // Names are limited to the declared width of 50 bytes in the code page.
  EXPECT_NO_THROW(MakeIconSet({{std::wstring(25, L'\x56FE'), {}}}, gbk_));
  EXPECT_THROW(MakeIconSet({{std::wstring(26, L'\x56FE'), {}}}, gbk_), Error);
  EXPECT_THROW(MakeIconSet({{std::wstring(51, L'a'), {}}}, gbk_), Error);
}

TEST_F(PackTool, IconSetFromAFolderInNameOrder) {
  Put("icons/b.png", "PNG");
  Put("icons/a.bmp", "BM");
  fs::create_directories(dir_ / "icons" / "sub");
  const std::vector<NamedFile> images = ReadImageFolder(dir_ / "icons");
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].name, L"a.bmp");
  EXPECT_EQ(images[1].bytes, (Bytes{'P', 'N', 'G'}));
}

TEST_F(PackTool, StoreBuildsRecordsManifestAndScript) {
  Put("pay/Stampfile.INI", "UpdateDateTime=20150527213310640\r\n");
  Put("pay/modHook.dll", "MZ-hook");
  Put("pay/k1.DAT", "PNG-1");  // found although the letter case differs
  Put("pay/K2.dat", "PNG-2");
  Put("pay/7z.exe", "MZ-7z");
  Put("manifest.ini", "Stampfile.INI=0\r\nmodHook.dll=1\nK1.dat=0\r\nK2.dat=0\r\n7z.exe=0");
  StoreOptions options;
  options.payload_folder = dir_ / "pay";
  options.manifest = dir_ / "manifest.ini";
  options.output_folder = dir_ / "store";
  options.twice = {L"k1.dat"};
  options.twice_patterns = {L"K2*"};
  const std::vector<StoreEntry> entries = BuildStore(options, gbk_);
  ASSERT_EQ(entries.size(), 5u);

  const fs::path store = dir_ / "store";
  EXPECT_EQ(Read(store / "INSTALLFILEINI"),
            "Stampfile.INI=0\r\nmodHook.dll=1\r\nK1.dat=0\r\nK2.dat=0\r\n7z.exe=0\r\n");
  const Bytes stamp = ReadB(store / "STAMPFILEINI");
  EXPECT_EQ(stamp[0], 0x78);
  EXPECT_EQ(stamp[1], 0x01);
  EXPECT_EQ(UnZipBytes(stamp), ReadB(dir_ / "pay/Stampfile.INI"));
  EXPECT_EQ(UnZipBytes(UnZipBytes(ReadB(store / "K1DAT"))), (Bytes{'P', 'N', 'G', '-', '1'}));
  EXPECT_EQ(UnZipBytes(UnZipBytes(ReadB(store / "K2DAT"))), (Bytes{'P', 'N', 'G', '-', '2'}));
  EXPECT_EQ(UnZipBytes(ReadB(store / "MODHOOKDLL")), (Bytes{'M', 'Z', '-', 'h', 'o', 'o', 'k'}));

  const std::string abs = fs::absolute(store).u8string();
  EXPECT_EQ(Read(store / "payload.rc"),
            "// The installer's payload store, written by quillon-pack: the install manifest and "
            "one\n// compressed record per manifest entry.\n"
            "INSTALLFILEINI INIFILE \"" +
                abs +
                "/INSTALLFILEINI\"\n"
                "STAMPFILEINI ZIPFILE \"" +
                abs +
                "/STAMPFILEINI\"\n"
                "MODHOOKDLL ZIPFILE \"" +
                abs +
                "/MODHOOKDLL\"\n"
                "K1DAT ZIPFILE \"" +
                abs +
                "/K1DAT\"\n"
                "K2DAT ZIPFILE \"" +
                abs +
                "/K2DAT\"\n"
                "LANGUAGE 9, 1\n\"7ZEXE\" ZIPFILE \"" +
                abs + "/7ZEXE\"\n");

  // Read back as the installer would: the manifest and each blob by its name.
  const std::vector<ListedEntry> listed = ListStore(store, gbk_);
  ASSERT_EQ(listed.size(), 5u);
  EXPECT_TRUE(listed[2].body_is_record);
  EXPECT_FALSE(listed[1].body_is_record);
  EXPECT_EQ(listed[1].flag, L"1");

  UnpackStore(store, dir_ / "once", gbk_, false);
  EXPECT_EQ(Read(dir_ / "once/modHook.dll"), "MZ-hook");
  EXPECT_EQ(UnZipBytes(ReadB(dir_ / "once/K1.dat")), (Bytes{'P', 'N', 'G', '-', '1'}));
  UnpackStore(store, dir_ / "deep", gbk_, true);
  EXPECT_EQ(Read(dir_ / "deep/K1.dat"), "PNG-1");
}

TEST_F(PackTool, StoreCarriesMenuDatasetsAsGivenAndWarnsOfCOMEntriesThatAreNoPrograms) {
  Bytes program(0x98, 0);
  program[0] = 'M';
  program[1] = 'Z';
  program[0x3C] = 0x80;
  program[0x80] = 'P';
  program[0x81] = 'E';
  program[0x84] = 0x4C;
  program[0x85] = 0x01;
  Put("pay/Navset1B.dat", "packet bytes");
  Put("pay/real.dll", std::string(program.begin(), program.end()));
  Put("pay/fake.dll", "MZ but no program");
  Put("manifest.ini", "Navset1B.dat=0\r\nreal.dll=1\r\nfake.dll=1\r\n");
  StoreOptions options;
  options.payload_folder = dir_ / "pay";
  options.manifest = dir_ / "manifest.ini";
  options.output_folder = dir_ / "store";
  options.twice = {L"Navset1B.dat"};
  const std::vector<StoreEntry> entries = BuildStore(options, gbk_);
  EXPECT_EQ(Read(dir_ / "store/NAVSET1BDAT"), "packet bytes") << "not packed, not even twice";
  EXPECT_TRUE(entries[0].as_given);
  EXPECT_TRUE(entries[1].warning.empty());
  EXPECT_NE(entries[2].warning.find(L"fake.dll"), std::wstring::npos);
  // An install of the store puts the dataset in place as given.
  UnpackStore(dir_ / "store", dir_ / "out", gbk_, false);
  EXPECT_EQ(Read(dir_ / "out/Navset1B.dat"), "packet bytes");
}

TEST_F(PackTool, StoreRefusesBadManifestsBeforeWritingAnything) {
  Put("pay/a.b.dll", "1");
  Put("pay/ab.dll", "2");
  Put("pay/x.dll", "3");
  struct Case {
    const char* name;
    std::string manifest;
    std::vector<std::wstring> twice;
    const char* message;
  } cases[] = {
      {"same blob name", "a.b.dll=0\r\nab.dll=0\r\n", {}, "same resource name ABDLL"},
      {"missing file", "x.dll=0\r\ny.dll=0\r\n", {}, "no file"},
      {"empty line", "x.dll=0\r\n\r\nab.dll=0\r\n", {}, "Line 2 of the install manifest has no"},
      {"twice names an unknown entry", "x.dll=0\r\n", {L"z.dll"}, "z.dll"},
      {"quote in a name", "x\".dll=0\r\n", {}, "resource script cannot hold"},
      {"folder in a name", "sub\\x.dll=0\r\n", {}, "not a plain file name"},
      {"empty manifest", "", {}, "no entries"},
  };
  for (const Case& c : cases) {
    StoreOptions options;
    options.payload_folder = dir_ / "pay";
    options.manifest = Put("m.ini", c.manifest);
    options.output_folder = dir_ / "store";
    options.twice = c.twice;
    try {
      BuildStore(options, gbk_);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.name << ": " << e.what();
    }
    EXPECT_FALSE(fs::exists(dir_ / "store")) << c.name;
  }
}

TEST_F(PackTool, ResourceScriptQuotesWhatWindresWouldMisread) {
  const std::vector<ScriptLine> lines = {
      {"MODHOOKDLL", "ZIPFILE", "/p/MODHOOKDLL"},
      {"UNINSTALLCLIENT_VXKALDEREXE", "ZIPFILE", "/p/U"},
      {"7ZEXE", "ZIPFILE", "/p/7"},
      {"123", "ZIPFILE", "/p/1"},
      {"BEGIN", "ZIPFILE", "/p/B"},
      {"A+B", "ZIPFILE", "/p/dir \"x\"\\y"},
  };
  const std::string script = ResourceScript(lines);
  const std::string body = script.substr(script.find("MODHOOKDLL"));
  EXPECT_EQ(body,
            "MODHOOKDLL ZIPFILE \"/p/MODHOOKDLL\"\n"
            "UNINSTALLCLIENT_VXKALDEREXE ZIPFILE \"/p/U\"\n"
            "LANGUAGE 9, 1\n\"7ZEXE\" ZIPFILE \"/p/7\"\n"
            "LANGUAGE 9, 1\n\"123\" ZIPFILE \"/p/1\"\n"
            "LANGUAGE 9, 1\n\"BEGIN\" ZIPFILE \"/p/B\"\n"
            "LANGUAGE 9, 1\n\"A+B\" ZIPFILE \"/p/dir \"\"x\"\"\\\\y\"\n");
}

TEST_F(PackTool, DescribeShowsRecordAndPacket) {
  const std::string pinfo = Describe(MakeProductInfo(kNames, false, gbk_), gbk_);
  EXPECT_NE(pinfo.find("compressed record:"), std::string::npos) << pinfo;
  EXPECT_NE(pinfo.find("data packet: version 1"), std::string::npos) << pinfo;
  EXPECT_NE(pinfo.find("a12=\"\xE9\x87\x8F\xE5\xAD\x90\""), std::string::npos) << pinfo;

  const std::string line = "UpdateDateTime=20150527213310640\r\n";
  const std::string stamp = Describe(WriteRecord(Bytes(line.begin(), line.end())), gbk_);
  for (const char* part : {"tag: 88\n", "length: 34\n", "text block: none\n", "body: 34 bytes\n"}) {
    EXPECT_NE(stamp.find(part), std::string::npos) << part << " in " << stamp;
  }
  RecordOptions with_text;
  with_text.text_block = "note";
  const std::string marked = Describe(WriteRecord({1, 2}, with_text), gbk_);
  EXPECT_NE(marked.find("text block: 4 bytes"), std::string::npos) << marked;

  Bytes damaged = WriteRecord(Bytes(line.begin(), line.end()));
  damaged.resize(damaged.size() - 6);
  EXPECT_THROW(Describe(damaged, gbk_), FormatError);
}

int RunTool(const std::vector<std::string>& args, std::string* out = nullptr,
            std::string* err = nullptr) {
  std::ostringstream o, e;
  const int code = Run(args, o, e);
  if (out) *out = o.str();
  if (err) *err = e.str();
  return code;
}

// Every level's record is read by the installer's zlib inflater, the libdeflate ones too, with
// or without a text block; the highest level packs no larger than zlib's best.
TEST_F(PackTool, RecordsOfEveryLevelUnpackWithZlib) {
  std::string rows;
  for (int i = 0; rows.size() < 300000; ++i) {
    rows +=
        std::to_string(i * 7919 % 1000) + ";North;Widget;qty=" + std::to_string(i % 97) + "\r\n";
  }
  Bytes noise(100000);
  uint32_t state = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 24);
  RecordOptions with_text;
  with_text.text_block = std::string(51201, 't');
  struct Case {
    const char* what;
    Bytes body;
    RecordOptions options;
  } cases[] = {
      {"empty", {}, {}},
      {"rows", Bytes(rows.begin(), rows.end()), {}},
      {"noise", noise, {}},
      {"text block", {1, 2, 3}, with_text},
  };
  for (Case& c : cases) {
    for (int level : {0, 1, 9, 10, 11, 12}) {
      c.options.level = level;
      const Bytes packed = PackRecord(c.body, c.options);
      EXPECT_EQ(UnZipBytes(packed), c.body) << c.what << " at level " << level;
    }
  }
  RecordOptions best_zlib, highest;
  best_zlib.level = 9;
  highest.level = kMaxPackLevel;
  EXPECT_LE(PackRecord(cases[1].body, highest).size(), PackRecord(cases[1].body, best_zlib).size());
  highest.level = kMaxPackLevel + 1;
  EXPECT_THROW(PackRecord({1}, highest), FormatError);
}

TEST_F(PackTool, CommandLineExitCodes) {
  const std::string missing = (dir_ / "missing.dat").u8string();
  const std::string garbage = Put("garbage.bin", "not a record").u8string();
  struct Case {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{}, 2},
      {{"--help"}, 0},
      {{"store", "--help"}, 0},
      {{"frobnicate"}, 2},
      {{"inspect"}, 2},
      {{"inspect", garbage, "--bogus"}, 2},
      {{"inspect", garbage, "--rows", "x"}, 2},
      {{"inspect", garbage, "--code-page", "NO-SUCH-PAGE"}, 2},
      {{"pinfo", "--product", "x"}, 2},
      {{"store", "a", "b"}, 2},
      {{"store", "a", "b", "-o", "c", "--level", "13"}, 2},
      {{"store", "a", "b", "-o", "c", "--level", "-1"}, 2},
      {{"store", "a", "b", "-o", "c", "--level", ""}, 2},
      {{"inspect", missing}, 1},
      {{"inspect", garbage}, 1},
  };
  for (const Case& c : cases) {
    std::string err;
    EXPECT_EQ(RunTool(c.args, nullptr, &err), c.code) << ::testing::PrintToString(c.args) << err;
    if (c.code != 0 && !c.args.empty()) {
      EXPECT_NE(err.find("quillon-pack"), std::string::npos) << err;
    }
  }
}

TEST_F(PackTool, CommandLineRoundTrips) {
  const std::string ini = Put("SysSetup.ini", "[Setup]\r\nDEFAULT_PATH=D:\\Q\r\n").u8string();
  const std::string twin = (dir_ / "SysSetup2.ini").u8string();
  ASSERT_EQ(RunTool({"encode-config", ini}), 0);  // beside the input by default
  EXPECT_EQ(DecodeConfigTwin(ReadB(twin)), ReadB(ini));
  std::string decoded;
  ASSERT_EQ(RunTool({"decode-config", twin}, &decoded), 0);
  EXPECT_EQ(decoded, Read(ini));

  const std::string pinfo = (dir_ / "PInfo.dat").u8string();
  ASSERT_EQ(RunTool({"pinfo", "--product", "\xE9\x87\x8F\xE5\xAD\x90", "--maker-full", "M",
                     "--caption", "", "--maker-short", "m", "--agent", "A", "-o", pinfo}),
            0);
  const ds::Packet packet = ds::ReadPacket(UnZipBytes(ReadB(pinfo)));
  EXPECT_EQ(packet.FirstRecordText(L"a12", gbk_), L"\x91CF\x5B50");
  std::string shown;
  ASSERT_EQ(RunTool({"inspect", pinfo}, &shown), 0);
  EXPECT_NE(shown.find("a18=\"A\""), std::string::npos) << shown;
}

}  // namespace
}  // namespace quillon::pack

#endif  // QUILLON_PACK_TOOL
