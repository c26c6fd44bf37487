// encode-config / decode-config: the encoded twin of the setup configuration.
#include <ostream>

#include "base/text.h"
#include "commands.h"
#include "formats/base64.h"
#include "tool_io.h"

namespace quillon::pack {

int CommandEncodeConfig(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"--code-page", "-o", "--output"}, {"--single-line", "--from-utf8"});
  args.ExpectPositional(1, 1, "the configuration file to encode (SysSetup.ini)");
  std::string output = args.Value("-o", args.Value("--output"));
  if (output.empty()) {
    output = Utf8Of(PathOf(args.positional()[0]).replace_filename("SysSetup2.ini"));
  }
  if (args.Has("--code-page") && !args.Has("--from-utf8")) {
    throw UsageError("--code-page goes with --from-utf8 only");
  }
  Bytes config = ReadBytes(PathOf(args.positional()[0]));
  if (args.Has("--from-utf8")) {
    // A configuration written in UTF-8 becomes text in the installer's ANSI code page.
    const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
    std::string text(config.begin(), config.end());
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    const std::string ansi = ToCodePage(*code_page, FromUtf8(text), L"the configuration");
    config.assign(ansi.begin(), ansi.end());
  }
  WriteBytes(PathOf(output), EncodeConfigTwin(config, !args.Has("--single-line")));
  out << "wrote " << output << "\n";
  return 0;
}

int CommandDecodeConfig(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"-o", "--output"}, {});
  args.ExpectPositional(1, 1, "the encoded configuration file (SysSetup2.ini)");
  const Bytes config = DecodeConfigTwin(ReadBytes(PathOf(args.positional()[0])));
  const std::string output = args.Value("-o", args.Value("--output"));
  if (output.empty()) {
    out.write(reinterpret_cast<const char*>(config.data()),
              static_cast<std::streamsize>(config.size()));
  } else {
    WriteBytes(PathOf(output), config);
    out << "wrote " << output << "\n";
  }
  return 0;
}

}  // namespace quillon::pack
