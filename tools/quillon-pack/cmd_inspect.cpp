// inspect: what a compressed record or a data packet holds.
#include <zlib.h>

#include <cstdio>
#include <ostream>
#include <sstream>

#include "base/text.h"
#include "commands.h"
#include "deploy/unZipLib.h"
#include "formats/datasnap.h"
#include "formats/record_format.h"
#include "tool_io.h"

namespace quillon::pack {

namespace ds = datasnap;

namespace {

uint32_t U32At(const Bytes& b, size_t at) {
  return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) |
         (uint32_t{b[at + 3]} << 24);
}

// The first `count` bytes of a zlib stream's content (fewer when it holds fewer).
Bytes InflatePrefix(const Bytes& packed, size_t count) {
  z_stream z{};
  if (inflateInit2(&z, 15) != Z_OK) return {};
  Bytes out(count);
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(count);
  while (z.avail_out > 0) {
    const int ret = inflate(&z, Z_NO_FLUSH);
    if (ret != Z_OK) break;
  }
  out.resize(count - z.avail_out);
  inflateEnd(&z);
  return out;
}

bool LooksLikeZlib(const Bytes& b) {
  return b.size() >= 2 && (b[0] & 0x0F) == 8 && ((b[0] << 8) | b[1]) % 31 == 0;
}

std::string Hex(const uint8_t* data, size_t size) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(buf, sizeof buf, i == 0 ? "%02X" : " %02X", data[i]);
    out += buf;
  }
  return out;
}

std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (static_cast<uint32_t>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += ToUtf8(std::wstring(1, c));
    }
  }
  return out + "\"";
}

std::string TypeName(const ds::FieldType& type) {
  static const char* const kNames[] = {
      "?",           "INT",       "UINT",       "BOOL",     "FLOATIEEE", "BCD", "DATE",
      "TIME",        "TIMESTAMP", "ZSTRING",    "UNICODE",  "BYTES",     "ADT", "ARRAY",
      "EMBEDDEDTBL", "REF",       "BIGDECIMAL", "DATETIME", "FMTBCD"};
  const uint16_t base = type.base();
  std::string name = base < sizeof kNames / sizeof kNames[0] ? kNames[base]
                     : base == ds::kSingle                   ? "SINGLE"
                                                             : "type " + std::to_string(base);
  if (type.varying()) return name + ", length prefix " + std::to_string(type.size);
  return name + ", " + std::to_string(type.size) + " bytes";
}

std::string PropertyText(const ds::Property& p) {
  std::string out = p.name + "=";
  const uint16_t base = p.type.base();
  if (p.type.array()) {
    return out + "[" + std::to_string(p.count) + " elements of " + std::to_string(p.type.size) +
           " bytes]";
  }
  if (!p.type.varying() && (base == ds::kInt || base == ds::kUInt) && p.value.size() <= 8) {
    uint64_t v = 0;
    for (size_t i = 0; i < p.value.size(); ++i) v |= uint64_t{p.value[i]} << (8 * i);
    if (base == ds::kInt && !p.value.empty() && p.value.size() < 8 &&
        ((v >> (8 * p.value.size() - 1)) & 1)) {
      v |= ~uint64_t{0} << (8 * p.value.size());
      return out + std::to_string(static_cast<int64_t>(v));
    }
    return out + std::to_string(v);
  }
  if (p.type.varying() && base == ds::kZString) {
    std::string text(p.value.begin(), p.value.end());
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return out + Quote(FromUtf8(text));
  }
  return out + "<" + Hex(p.value.data(), std::min<size_t>(p.value.size(), 16)) +
         (p.value.size() > 16 ? " ..." : "") + ">";
}

std::string ValueText(const ds::Column& column, const ds::Value& value, CodePage& code_page) {
  if (value.state == ds::ValueState::Null) return "null";
  if (value.state == ds::ValueState::Delayed) return "<blob not in the packet>";
  const uint16_t base = column.type.base();
  if (base == ds::kBytes) {
    const ds::Property* subtype = column.FindProperty("SUBTYPE");
    const bool text = subtype != nullptr && subtype->value.size() >= 4 &&
                      (std::string(subtype->value.begin(), subtype->value.end()).find("Text") !=
                           std::string::npos ||
                       std::string(subtype->value.begin(), subtype->value.end()).find("Memo") !=
                           std::string::npos);
    if (!text) return "<" + std::to_string(value.data.size()) + " bytes>";
  }
  try {
    const std::wstring text = ds::ValueAsText(column, value, code_page);
    if (base == ds::kZString || base == ds::kUnicode || base == ds::kBytes) return Quote(text);
    return ToUtf8(text);
  } catch (const FormatError&) {
    return "<" + Hex(value.data.data(), std::min<size_t>(value.data.size(), 16)) + ">";
  }
}

void DescribePacket(const Bytes& bytes, CodePage& code_page, size_t max_rows,
                    const std::string& indent, std::ostream& out) {
  const ds::Packet packet = ds::ReadPacket(bytes);
  out << indent << "data packet: version " << packet.version << ", header " << U32At(bytes, 8)
      << " bytes, attributes " << packet.attributes;
  if (packet.attributes & ds::kPacketRowOffsetValid) {
    out << ", first row at " << (bytes[22] | (bytes[23] << 8));
  }
  out << "\n"
      << indent << "  " << packet.columns.size() << " columns, " << packet.rows.size() << " rows ("
      << packet.CurrentRows().size() << " current)\n";
  out << indent << "columns:\n";
  for (size_t i = 0; i < packet.columns.size(); ++i) {
    const ds::Column& c = packet.columns[i];
    out << indent << "  " << i + 1 << " " << c.name << ": " << TypeName(c.type);
    if (c.attributes != 0) out << ", attributes " << c.attributes;
    for (const ds::Property& p : c.properties) out << ", " << PropertyText(p);
    out << "\n";
  }
  out << indent << "dataset properties:";
  if (packet.properties.empty()) out << " none";
  for (const ds::Property& p : packet.properties) out << " " << PropertyText(p);
  out << "\n" << indent << "rows:\n";
  for (size_t r = 0; r < packet.rows.size() && r < max_rows; ++r) {
    const ds::Row& row = packet.rows[r];
    out << indent << "  " << r + 1;
    if (row.status != 0) out << " (status " << static_cast<int>(row.status) << ")";
    out << ":";
    for (size_t k = 0; k < packet.columns.size(); ++k) {
      out << " " << packet.columns[k].name << "="
          << ValueText(packet.columns[k], row.values[k], code_page);
    }
    out << "\n";
  }
  if (packet.rows.size() > max_rows) {
    out << indent << "  ... " << packet.rows.size() - max_rows << " more rows\n";
  }
}

void DescribeAny(const Bytes& bytes, CodePage& code_page, size_t max_rows,
                 const std::string& indent, std::ostream& out, bool nested);

void DescribeRecord(const Bytes& bytes, const Bytes& body, CodePage& code_page, size_t max_rows,
                    const std::string& indent, std::ostream& out) {
  const Bytes head = InflatePrefix(bytes, 12);
  const uint32_t tag = U32At(head, 0);
  const int32_t length = static_cast<int32_t>(U32At(head, 4));
  out << indent << "compressed record: " << bytes.size() << " bytes packed, zlib header "
      << Hex(bytes.data(), 2) << "\n";
  out << indent << "  tag: " << tag << (tag == kRecordTextMarker ? " (text block marker)" : "")
      << "\n";
  out << indent << "  length: " << length << "\n";
  if (tag == kRecordTextMarker) {
    out << indent << "  text block: " << U32At(head, 8) << " bytes\n";
  } else {
    out << indent << "  text block: none\n";
  }
  out << indent << "  body: " << body.size() << " bytes\n";
  DescribeAny(body, code_page, max_rows, indent + "  ", out, true);
}

void DescribeAny(const Bytes& bytes, CodePage& code_page, size_t max_rows,
                 const std::string& indent, std::ostream& out, bool nested) {
  if (ds::LooksLikePacket(bytes.data(), bytes.size())) {
    DescribePacket(bytes, code_page, max_rows, indent, out);
    return;
  }
  if (LooksLikeZlib(bytes)) {
    Bytes body;
    try {
      body = UnZipBytes(bytes);
    } catch (const FormatError&) {
      if (!nested) throw;
      body.clear();
      out << indent << "(begins like a zlib stream but is no compressed record)\n";
      return;
    }
    DescribeRecord(bytes, body, code_page, max_rows, indent, out);
    return;
  }
  if (!nested) {
    throw Error(L"Neither a compressed record nor a data packet (it begins with " +
                FromUtf8(Hex(bytes.data(), std::min<size_t>(bytes.size(), 4))) + L")");
  }
  bool text = !bytes.empty() && bytes.size() <= 200;
  for (uint8_t c : bytes)
    text = text && ((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n' || c == '\t');
  if (text) {
    out << indent << "text: " << Quote(FromUtf8(std::string(bytes.begin(), bytes.end()))) << "\n";
    return;
  }
  out << indent << "(" << bytes.size() << " bytes";
  if (!bytes.empty())
    out << ", beginning " << Hex(bytes.data(), std::min<size_t>(bytes.size(), 16));
  out << ")\n";
}

}  // namespace

std::string Describe(const Bytes& bytes, CodePage& code_page, size_t max_rows) {
  std::ostringstream out;
  DescribeAny(bytes, code_page, max_rows, "", out, false);
  return out.str();
}

int CommandInspect(const std::vector<std::string>& raw, std::ostream& out) {
  const Args args(raw, {"--code-page", "--rows"}, {});
  args.ExpectPositional(1, 1, "one file to inspect");
  size_t rows = 50;
  if (args.Has("--rows")) {
    const std::string text = args.Value("--rows");
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9) {
      throw UsageError("--rows takes a number of rows");
    }
    rows = std::stoul(text);
  }
  const auto code_page = OpenCodePage(args.Value("--code-page", "GBK"));
  out << Describe(ReadBytes(PathOf(args.positional()[0])), *code_page, rows);
  return 0;
}

}  // namespace quillon::pack
