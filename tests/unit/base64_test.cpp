// Base64 and the five-level encoding of the configuration twin.
#include "formats/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_code_page.h"

namespace quillon {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

TEST(Base64, Rfc4648Vectors) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Base64Encode(B(c.first)), c.second);
    EXPECT_EQ(Base64Decode(c.second), B(c.first)) << c.second;
  }
  const Bytes all = [] {
    Bytes b;
    for (int i = 0; i < 256; ++i) b.push_back(static_cast<uint8_t>(i));
    return b;
  }();
  EXPECT_EQ(Base64Decode(Base64Encode(all)), all);
}

TEST(Base64, DecodingSkipsWhatIsNotInTheAlphabet) {
  const std::pair<std::string, std::string> cases[] = {
      {"Zm9v\r\nYmFy\r\n", "foobar"},
      {" Zm9v\tYm Fy ", "foobar"},
      {"Zm9v!Ym@Fy#\x80\xff", "foobar"},
      {"Zm9vYg", "foob"},   // padding missing
      {"Zm9vY", "foo"},     // a single character left carries no byte
      {"Zg==Zm8=", "ffo"},  // padded texts one after another
      {"Zg=\r\n=", "f"},
      {"====", ""},
      {"-_", ""},  // the URL alphabet is not this one
  };
  for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.first), B(c.second)) << c.first;
}

TEST(Base64, LinesOf76Characters) {
  struct Case {
    size_t bytes;
    std::vector<size_t> lines;
  } cases[] = {{0, {}}, {57, {76}}, {58, {76, 4}}, {114, {76, 76}}, {115, {76, 76, 4}}};
  for (const Case& c : cases) {
    const Bytes data(c.bytes, 0xA5);
    const std::string text = Base64Encode(data, true);
    std::vector<size_t> lines;
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find("\r\n", start);
      lines.push_back((end == std::string::npos ? text.size() : end) - start);
      if (end == std::string::npos) break;
      start = end + 2;
    }
    EXPECT_EQ(lines, c.lines) << c.bytes << " bytes";
    EXPECT_EQ(text.find('\n'),
              text.find("\r\n") == std::string::npos ? std::string::npos : text.find("\r\n") + 1);
    EXPECT_EQ(Base64Decode(text), data);
  }
}

TEST(Base64, ConfigurationTwinFiveLevels) {
  FakeCodePage gbk("GBK");
  const std::string ini =
      gbk.ToAnsi(L"[Setup]\r\nDEFAULT_PATH=D:\\\x91CF\x5B50\r\nSilenceInstall=1\r\n");
  const Bytes config = B(ini);

  // Hand-made: five levels without line breaks.
  std::string level = ini;
  for (int i = 0; i < 5; ++i) {
    const Bytes b = B(level);
    level = Base64Encode(b);
  }
  EXPECT_EQ(DecodeConfigTwin(B(level)), config);
  // Four levels are not enough: the result is still base64 text.
  EXPECT_NE(DecodeConfigTwin(B(Base64Encode(B(ini)))), config);

  // The tool's encoding, broken into lines at every level, and the same file with its lines
  // joined differently, as the installer rebuilds it.
  const Bytes twin = EncodeConfigTwin(config);
  EXPECT_EQ(DecodeConfigTwin(twin), config);
  EXPECT_NE(std::string(twin.begin(), twin.end()).find("\r\n"), twin.size() - 2);
  std::string joined;
  for (uint8_t c : twin) {
    if (c != '\r') joined += static_cast<char>(c == '\n' ? ' ' : c);
  }
  EXPECT_EQ(DecodeConfigTwin(B(joined)), config);
  EXPECT_EQ(DecodeConfigTwin(EncodeConfigTwin(config, false)), config);
}

}  // namespace
}  // namespace quillon
