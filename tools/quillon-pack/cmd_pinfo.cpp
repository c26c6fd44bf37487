// pinfo: the product information file.
#include <algorithm>
#include <ostream>

#include "base/text.h"
#include "commands.h"
#include "deflate_pack.h"
#include "formats/datasnap.h"
#include "formats/record_writer.h"
#include "tool_io.h"

namespace quillon::pack {

namespace ds = datasnap;

Bytes MakeProductInfo(const ProductNames& names, bool unicode, CodePage& code_page, int level) {
  const std::pair<const char*, const std::wstring*> fields[] = {
      {"a12", &names.product},     {"a13", &names.maker_full}, {"a16", &names.caption},
      {"a17", &names.maker_short}, {"a18", &names.agent},
  };
  ds::Packet packet;
  ds::Row row;
  for (const auto& field : fields) {
    const std::wstring what = L"field " + FromUtf8(field.first);
    if (unicode) {
      const ds::Value value = ds::UnicodeValue(*field.second);
      // Width in bytes, at least 100 characters' worth.
      const size_t width = std::max<size_t>(200, value.data.size());
      if (width > 0xFFFF) throw Error(L"The text of " + what + L" is too long");
      packet.columns.push_back(ds::UnicodeColumn(field.first, static_cast<uint16_t>(width)));
      row.values.push_back(value);
    } else {
      const std::string bytes = ToCodePage(code_page, *field.second, what);
      const size_t width = std::max<size_t>(100, bytes.size());
      if (width > 0xFFFF) throw Error(L"The text of " + what + L" is too long");
      packet.columns.push_back(ds::ZStringColumn(field.first, static_cast<uint16_t>(width)));
      row.values.push_back(ds::ZStringValue(bytes));
    }
  }
  packet.rows.push_back(std::move(row));
  RecordOptions options;
  options.level = level;
  return PackRecord(ds::WritePacket(packet), options);
}

int CommandPinfo(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw,
                  {"--product", "--maker-full", "--caption", "--maker-short", "--agent",
                   "--code-page", "--level", "-o", "--output"},
                  {"--unicode"});
  args.ExpectPositional(0, 0, "no arguments besides the options");
  ProductNames names;
  names.product = FromUtf8(args.Required("--product"));
  names.maker_full = FromUtf8(args.Required("--maker-full"));
  names.caption = FromUtf8(args.Required("--caption"));
  names.maker_short = FromUtf8(args.Required("--maker-short"));
  names.agent = FromUtf8(args.Required("--agent"));
  std::string output = args.Value("-o", args.Value("--output"));
  if (output.empty()) output = "PInfo.dat";
  const bool unicode = args.Has("--unicode");
  if (unicode && args.Has("--code-page")) {
    throw UsageError("--unicode and --code-page cannot be used together");
  }
  const int level = ParseLevel(args.Value("--level", "1"));
  const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
  WriteBytes(PathOf(output), MakeProductInfo(names, unicode, *code_page, level));
  out << "wrote " << output << " ("
      << (unicode ? "UTF-16 fields" : "8-bit fields in " + args.Value("--code-page", "GBK"))
      << ")\n";
  return 0;
}

}  // namespace quillon::pack
