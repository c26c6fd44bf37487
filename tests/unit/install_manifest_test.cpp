// The install manifest, blob names and payload lookup of the payload store.
#include "deploy/install_manifest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "deploy/unZipLib.h"
#include "formats/record_writer.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_resources.h"

namespace quillon {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::pair<std::wstring, std::wstring>> Entries(const InstallManifest& m) {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  for (const ManifestEntry& e : m.entries()) out.emplace_back(e.name, e.flag);
  return out;
}

TEST(InstallManifest, LinesAndFlags) {
  using E = std::vector<std::pair<std::wstring, std::wstring>>;
  struct Case {
    const char* name;
    std::wstring text;
    E entries;
  } cases[] = {
      {"CR LF, last line ended",
       L"tabvo1.dll=0\r\nmodHook.dll=1\r\n",
       {{L"tabvo1.dll", L"0"}, {L"modHook.dll", L"1"}}},
      {"last line not ended", L"a=0\r\nb=2", {{L"a", L"0"}, {L"b", L"2"}}},
      {"lone LF and lone CR", L"a=0\nb=1\rc=2\r\n", {{L"a", L"0"}, {L"b", L"1"}, {L"c", L"2"}}},
      {"LF CR is two line ends", L"a=0\n\rb=1\r\n", {{L"a", L"0"}, {L"", L""}, {L"b", L"1"}}},
      {"empty line in between", L"a=0\r\n\r\nb=1\r\n", {{L"a", L"0"}, {L"", L""}, {L"b", L"1"}}},
      {"line without =", L"Readme.txt\r\n", {{L"Readme.txt", L""}}},
      {"split at the first =", L"a=b=c\r\n", {{L"a", L"b=c"}}},
      {"flag kept as written",
       L"x.dll=1 \r\n y.dll = 2\r\n",
       {{L"x.dll", L"1 "}, {L" y.dll ", L" 2"}}},
      {"empty text", L"", {}},
      {"only a line break", L"\r\n", {{L"", L""}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Entries(InstallManifest::Parse(c.text)), c.entries) << c.name;
  }
}

TEST(InstallManifest, NamesCompareWithoutCase) {
  const InstallManifest m = InstallManifest::Parse(L"modHook.dll=1\r\nVXKalder.dll=1\r\n");
  ASSERT_NE(m.Find(L"MODHOOK.DLL"), nullptr);
  EXPECT_EQ(m.Find(L"MODHOOK.DLL")->name, L"modHook.dll");
  EXPECT_TRUE(m.Contains(L"vxkalder.DLL"));
  EXPECT_FALSE(m.Contains(L"modHook"));
  EXPECT_FALSE(m.Contains(L""));
}

TEST(InstallManifest, BlobNames) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"modHook.dll", L"modHookdll"},
      {L"nextgen.xdll", L"nextgenxdll"},
      {L"UnInstallClient_VXKALDER.exe", L"UnInstallClient_VXKALDERexe"},
      {L"Stampfile.INI", L"StampfileINI"},
      {L"a..b.", L"ab"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(PayloadBlobName(c.first), c.second) << c.first;
}

TEST(InstallManifest, ReadFromTheProgramWithTheAnsiCodePage) {
  FakeCodePage gbk("GBK");
  FakeResources res;
  // "安装.txt" in GBK, then two ASCII entries.
  const std::string text = gbk.ToAnsi(L"\x5B89\x88C5.txt=0\r\nmodHook.dll=1\r\nK1.dat=0\r\n");
  res.Add(L"INIFile", L"InstallFileINI", Bytes(text.begin(), text.end()));
  const InstallManifest m = ReadInstallManifest(res, gbk);
  ASSERT_EQ(m.entries().size(), 3u);
  EXPECT_EQ(m.entries()[0].name, L"\x5B89\x88C5.txt");
  EXPECT_EQ(m.entries()[1].flag, L"1");
}

TEST(InstallManifest, MissingManifestIsAnError) {
  FakeCodePage cp("CP1252");
  FakeResources res;
  EXPECT_THROW(ReadInstallManifest(res, cp), FormatError);
}

TEST(InstallManifest, PayloadsFoundByBlobNameInAnyCase) {
  FakeCodePage cp("CP1252");
  FakeResources res;
  const std::string text = "modHook.dll=1\r\nUnInstallClient_VXKALDER.exe=0\r\n";
  res.Add(kManifestType, kManifestName, Bytes(text.begin(), text.end()));
  res.Add(kPayloadType, L"MODHOOKDLL", WriteRecord({'M', 'Z', 1}));
  res.Add(kPayloadType, L"UNINSTALLCLIENT_VXKALDEREXE", WriteRecord({'M', 'Z', 2}));

  std::vector<Bytes> bodies;
  const InstallManifest manifest = ReadInstallManifest(res, cp);
  for (const ManifestEntry& e : manifest.entries()) {
    std::unique_ptr<Stream> blob = OpenPayload(res, PayloadBlobName(e.name));
    MemoryStream body;
    UnZipStream(*blob, body, PayloadBlobName(e.name));
    bodies.push_back(body.bytes());
  }
  EXPECT_EQ(bodies, (std::vector<Bytes>{{'M', 'Z', 1}, {'M', 'Z', 2}}));
}

TEST(InstallManifest, MissingPayloadNamesTheBlob) {
  FakeResources res;
  for (const std::wstring name : {L"NEXTGENXDLL", L""}) {
    try {
      OpenPayload(res, name);
      FAIL() << "no error";
    } catch (const FormatError& e) {
      EXPECT_NE(e.message().find(L"\"" + name + L"\""), std::wstring::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace quillon
