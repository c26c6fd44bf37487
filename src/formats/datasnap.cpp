#include "formats/datasnap.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "base/error.h"
#include "base/text.h"

namespace quillon::datasnap {

namespace {

constexpr uint8_t kMagic[4] = {0x96, 0x19, 0xE0, 0xBD};
constexpr size_t kHeaderSize = 24;
constexpr uint32_t kDelayedBlob = 0x80000000u;

std::wstring Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(v));
  return FromUtf8(buf);
}

std::wstring Num(uint64_t v) {
  return IntToText(static_cast<long long>(v));
}

[[noreturn]] void Bad(const std::wstring& detail) {
  throw FormatError(L"Damaged data packet: " + detail);
}

// Reads little-endian values from the packet, checking every read against its end.
class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t pos() const { return pos_; }
  size_t left() const { return size_ - pos_; }
  void Seek(size_t pos) { pos_ = pos; }

  void Need(uint64_t count, const std::wstring& what) const {
    if (count > left()) {
      Bad(what + L" at offset " + Num(pos_) + L" needs " + Num(count) + L" bytes, but only " +
          Num(left()) + L" remain");
    }
  }
  uint64_t Uint(size_t count, const std::wstring& what) {
    Need(count, what);
    uint64_t v = 0;
    for (size_t i = 0; i < count; ++i) v |= uint64_t{data_[pos_ + i]} << (8 * i);
    pos_ += count;
    return v;
  }
  uint8_t U8(const std::wstring& what) { return static_cast<uint8_t>(Uint(1, what)); }
  uint16_t U16(const std::wstring& what) { return static_cast<uint16_t>(Uint(2, what)); }
  uint32_t U32(const std::wstring& what) { return static_cast<uint32_t>(Uint(4, what)); }
  std::vector<uint8_t> Take(uint64_t count, const std::wstring& what) {
    Need(count, what);
    std::vector<uint8_t> out(data_ + pos_, data_ + pos_ + count);
    pos_ += static_cast<size_t>(count);
    return out;
  }
  std::string Name(const std::wstring& what) {
    const uint8_t length = U8(what);
    const std::vector<uint8_t> bytes = Take(length, what);
    return std::string(bytes.begin(), bytes.end());
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

std::wstring Quoted(const std::string& name) {
  return L"\"" + FromUtf8(name) + L"\"";
}

bool IsPrefixSize(uint16_t size) {
  return size == 1 || size == 2 || size == 4;
}

// Checks a column's type word; the reader and the writer agree on what is supported.
void CheckColumnType(const std::wstring& column, const FieldType& type) {
  const uint16_t flags = type.code & ~0x3F & ~kVaryingFlag;
  if (flags & (kArrayFlag | kPseudoFlag | kCompressedArrayFlag | kEmbeddedTableFlag)) {
    throw FormatError(L"Data packet column " + column + L" has type " + Hex(type.word()) +
                      L": nested, array and table columns are not supported");
  }
  if (flags != 0) {
    Bad(L"column " + column + L" has unknown type flags in " + Hex(type.word()));
  }
  if (type.base() == 0) Bad(L"column " + column + L" has no type");
  if (type.varying()) {
    if (!IsPrefixSize(type.size)) {
      Bad(L"column " + column + L" has a length prefix of " + Num(type.size) +
          L" bytes (1, 2 or 4 expected)");
    }
    return;
  }
  const uint16_t size = type.size;
  const bool int_size = size == 1 || size == 2 || size == 4 || size == 8;
  if (((type.base() == kInt || type.base() == kUInt || type.base() == kBool) && !int_size) ||
      size == 0) {
    Bad(L"column " + column + L" has a width of " + Num(size) + L" bytes, wrong for its type " +
        Hex(type.word()));
  }
}

Property ReadProperty(Cursor& in, const std::wstring& owner) {
  Property p;
  p.name = in.Name(L"a property name of " + owner);
  const std::wstring what = L"property " + Quoted(p.name) + L" of " + owner;
  const uint32_t word = in.U32(what);
  p.type.code = static_cast<uint16_t>((word >> 16) & ~kIncludeInDeltaFlag);
  p.type.size = static_cast<uint16_t>(word);
  if (p.type.code & (kPseudoFlag | kEmbeddedTableFlag)) {
    Bad(what + L" has the nested type " + Hex(word));
  }
  if (p.type.array()) {
    p.count = in.U32(what);
    p.value = in.Take(uint64_t{p.count} * p.type.size, what);
  } else if (p.type.varying()) {
    if (!IsPrefixSize(p.type.size)) {
      Bad(what + L" has a length prefix of " + Num(p.type.size) + L" bytes");
    }
    const uint64_t length = in.Uint(p.type.size, what);
    p.value = in.Take(length, what);
  } else {
    p.value = in.Take(p.type.size, what);
  }
  return p;
}

std::vector<Property> ReadProperties(Cursor& in, const std::wstring& owner) {
  const uint16_t count = in.U16(L"the property count of " + owner);
  std::vector<Property> props;
  for (uint16_t i = 0; i < count; ++i) props.push_back(ReadProperty(in, owner));
  return props;
}

uint64_t LittleEndian(const std::vector<uint8_t>& bytes) {
  uint64_t v = 0;
  for (size_t i = 0; i < bytes.size() && i < 8; ++i) v |= uint64_t{bytes[i]} << (8 * i);
  return v;
}

std::wstring FromUtf16Le(const std::vector<uint8_t>& bytes, const std::wstring& column) {
  if (bytes.size() % 2 != 0) {
    Bad(L"the UTF-16 text of column " + column + L" has an odd byte count " + Num(bytes.size()));
  }
  std::wstring out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t cp = bytes[i] | (bytes[i + 1] << 8);
    if (cp == 0) break;
    if (sizeof(wchar_t) == 4 && cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out += static_cast<wchar_t>(cp);
  }
  return out;
}

std::vector<uint8_t> ToUtf16Le(const std::wstring& text) {
  std::vector<uint8_t> out;
  auto put = [&out](uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit));
    out.push_back(static_cast<uint8_t>(unit >> 8));
  };
  for (wchar_t wc : text) {
    const uint32_t cp = static_cast<uint32_t>(wc);
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp > 0x10FFFF ? 0xFFFD : cp);
    }
  }
  return out;
}

bool SameAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

// ---- Properties, columns and values ----

Property UIntProperty(const std::string& name, uint16_t size, uint64_t value) {
  Property p;
  p.name = name;
  p.type = {kUInt, size};
  for (uint16_t i = 0; i < size; ++i) p.value.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return p;
}

Property IntProperty(const std::string& name, uint16_t size, int64_t value) {
  Property p = UIntProperty(name, size, static_cast<uint64_t>(value));
  p.type.code = kInt;
  return p;
}

Property TextProperty(const std::string& name, const std::string& text) {
  Property p;
  p.name = name;
  p.type = {static_cast<uint16_t>(kZString | kVaryingFlag), 2};
  p.value.assign(text.begin(), text.end());
  p.value.push_back(0);
  return p;
}

std::wstring Column::WideName() const {
  return FromUtf8(name);
}

const Property* Column::FindProperty(const std::string& property_name) const {
  for (const Property& p : properties) {
    if (SameAscii(p.name, property_name)) return &p;
  }
  return nullptr;
}

Column ZStringColumn(const std::string& name, uint16_t width) {
  Column c;
  c.name = name;
  c.type = {static_cast<uint16_t>(kZString | kVaryingFlag),
            static_cast<uint16_t>(width > 255 ? 2 : 1)};
  c.properties.push_back(UIntProperty("WIDTH", 2, width));
  return c;
}

Column UnicodeColumn(const std::string& name, uint16_t width_bytes) {
  Column c;
  c.name = name;
  c.type = {static_cast<uint16_t>(kUnicode | kVaryingFlag), 2};
  c.properties.push_back(UIntProperty("WIDTH", 2, width_bytes));
  return c;
}

Column BytesColumn(const std::string& name, uint16_t prefix, const std::string& subtype) {
  Column c;
  c.name = name;
  c.type = {static_cast<uint16_t>(kBytes | kVaryingFlag), prefix};
  if (!subtype.empty()) c.properties.push_back(TextProperty("SUBTYPE", subtype));
  return c;
}

Column FixedColumn(const std::string& name, TypeCode code, uint16_t size) {
  Column c;
  c.name = name;
  c.type = {static_cast<uint16_t>(code), size};
  return c;
}

Value NullValue() {
  return Value{};
}

Value BytesValue(std::vector<uint8_t> bytes) {
  return Value{ValueState::Present, std::move(bytes)};
}

Value ZStringValue(const std::string& bytes) {
  return Value{ValueState::Present, std::vector<uint8_t>(bytes.begin(), bytes.end())};
}

Value UnicodeValue(const std::wstring& text) {
  return Value{ValueState::Present, ToUtf16Le(text)};
}

Value IntValue(int64_t value, uint16_t size) {
  Value v{ValueState::Present, {}};
  for (uint16_t i = 0; i < size; ++i) {
    v.data.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
  }
  return v;
}

Value BoolValue(bool value, uint16_t size) {
  return IntValue(value ? 1 : 0, size);
}

std::vector<uint8_t> ValueBytes(const Column& column, const Value& value) {
  if (value.state == ValueState::Delayed) {
    throw FormatError(L"The blob of field " + Quoted(column.name) +
                      L" was left out of the data packet");
  }
  if (value.state != ValueState::Present) return {};
  return value.data;
}

int64_t ValueAsInt(const Column& column, const Value& value) {
  const uint16_t base = column.type.base();
  if (column.type.varying() || (base != kInt && base != kUInt && base != kBool)) {
    throw FormatError(L"Field " + Quoted(column.name) + L" is not an integer field");
  }
  if (value.state != ValueState::Present) {
    throw FormatError(L"Field " + Quoted(column.name) + L" is empty");
  }
  const size_t size = value.data.size();
  const uint64_t raw = LittleEndian(value.data);
  if (base == kInt && size < 8 && (raw >> (8 * size - 1)) & 1) {
    return static_cast<int64_t>(raw | (~uint64_t{0} << (8 * size)));
  }
  return static_cast<int64_t>(raw);
}

std::wstring ValueAsText(const Column& column, const Value& value, CodePage& code_page) {
  if (value.state == ValueState::Null) return std::wstring();
  const std::vector<uint8_t> bytes = ValueBytes(column, value);
  switch (column.type.base()) {
    case kZString: {
      std::string text(bytes.begin(), bytes.end());
      const size_t nul = text.find('\0');
      if (nul != std::string::npos) text.resize(nul);
      return code_page.FromAnsi(text);
    }
    case kUnicode:
      return FromUtf16Le(bytes, Quoted(column.name));
    case kBytes: {
      const Property* subtype = column.FindProperty("SUBTYPE");
      if (subtype != nullptr) {
        std::string name(subtype->value.begin(), subtype->value.end());
        const size_t nul = name.find('\0');
        if (nul != std::string::npos) name.resize(nul);
        if (SameAscii(name, "WideText") || SameAscii(name, "WideMemo")) {
          return FromUtf16Le(bytes, Quoted(column.name));
        }
      }
      return code_page.FromAnsi(std::string(bytes.begin(), bytes.end()));
    }
    case kInt:
    case kUInt:
      if (!column.type.varying()) {
        if (column.type.base() == kUInt) {
          char buf[32];
          std::snprintf(buf, sizeof buf, "%llu",
                        static_cast<unsigned long long>(LittleEndian(bytes)));
          return FromUtf8(buf);
        }
        return IntToText(ValueAsInt(column, value));
      }
      break;
    case kBool:
      if (!column.type.varying()) return LittleEndian(bytes) != 0 ? L"True" : L"False";
      break;
    case kFloat:
    case kSingle:
      if (!column.type.varying() && (bytes.size() == 8 || bytes.size() == 4)) {
        double d = 0;
        if (bytes.size() == 8) {
          const uint64_t raw = LittleEndian(bytes);
          std::memcpy(&d, &raw, 8);
        } else {
          const uint32_t raw = static_cast<uint32_t>(LittleEndian(bytes));
          float f = 0;
          std::memcpy(&f, &raw, 4);
          d = f;
        }
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", d);
        return FromUtf8(buf);
      }
      break;
    default:
      break;
  }
  throw FormatError(L"Field " + Quoted(column.name) + L" of type " + Hex(column.type.word()) +
                    L" cannot be read as text");
}

// ---- Packet ----

std::optional<size_t> Packet::FindColumn(const std::wstring& name) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (SameTextAscii(columns[i].WideName(), name)) return i;
  }
  return std::nullopt;
}

size_t Packet::ColumnIndex(const std::wstring& name) const {
  const std::optional<size_t> index = FindColumn(name);
  if (!index) throw FormatError(L"The data packet has no field \"" + name + L"\"");
  return *index;
}

const Row* Packet::FirstRecord() const {
  for (const Row& row : rows) {
    if (row.current()) return &row;
  }
  return nullptr;
}

std::vector<const Row*> Packet::CurrentRows() const {
  std::vector<const Row*> out;
  for (const Row& row : rows) {
    if (row.current()) out.push_back(&row);
  }
  return out;
}

std::wstring Packet::Text(const Row& row, const std::wstring& field, CodePage& code_page) const {
  const size_t index = ColumnIndex(field);
  return ValueAsText(columns[index], row.values.at(index), code_page);
}

std::vector<uint8_t> Packet::Blob(const Row& row, const std::wstring& field) const {
  const size_t index = ColumnIndex(field);
  return ValueBytes(columns[index], row.values.at(index));
}

std::wstring Packet::FirstRecordText(const std::wstring& field, CodePage& code_page) const {
  const size_t index = ColumnIndex(field);
  const Row* row = FirstRecord();
  if (row == nullptr) return std::wstring();
  return ValueAsText(columns[index], row->values.at(index), code_page);
}

bool LooksLikePacket(const uint8_t* data, size_t size) {
  return size >= 4 && std::memcmp(data, kMagic, 4) == 0;
}

// ---- Reader ----

Packet ReadPacket(const uint8_t* data, size_t size) {
  if (size < kHeaderSize) {
    Bad(L"only " + Num(size) + L" bytes, fewer than the 24-byte header");
  }
  if (!LooksLikePacket(data, size)) {
    throw FormatError(L"Not a data packet: it does not begin with the bytes 96 19 E0 BD");
  }
  Cursor in(data, size);
  in.Seek(4);
  Packet packet;
  packet.version = static_cast<int32_t>(in.U32(L"the version"));
  if (packet.version < 1 || packet.version > 3) {
    Bad(L"unsupported version " + Hex(static_cast<uint32_t>(packet.version)));
  }
  const uint32_t header_size = in.U32(L"the header size");
  const uint16_t column_count = in.U16(L"the column count");
  const uint32_t row_count = in.U32(L"the row count");
  packet.attributes = in.U32(L"the packet attributes");
  const uint16_t first_row = in.U16(L"the first-row offset");
  if (header_size < kHeaderSize || header_size > size) {
    Bad(L"header size " + Num(header_size) + L" (the packet has " + Num(size) + L" bytes)");
  }
  in.Seek(header_size);

  for (uint16_t i = 0; i < column_count; ++i) {
    const std::wstring label = L"column " + Num(i + 1u);
    Column column;
    column.name = in.Name(L"the name of " + label);
    if (column.name.empty()) Bad(label + L" has an empty name");
    const std::wstring what = L"column " + Quoted(column.name);
    const uint32_t word = in.U32(L"the type of " + what);
    column.type.code = static_cast<uint16_t>((word >> 16) & ~kIncludeInDeltaFlag);
    column.type.size = static_cast<uint16_t>(word);
    column.attributes = in.U16(L"the attributes of " + what);
    column.properties = ReadProperties(in, what);
    if (const Property* long_name = column.FindProperty("FIELDNAME")) {
      if (long_name->type.varying()) {
        std::string full(long_name->value.begin(), long_name->value.end());
        const size_t nul = full.find('\0');
        if (nul != std::string::npos) full.resize(nul);
        if (!full.empty()) column.name = full;
      }
    }
    CheckColumnType(Quoted(column.name), column.type);
    packet.columns.push_back(std::move(column));
  }
  packet.properties = ReadProperties(in, L"the dataset");

  if (packet.attributes & kPacketRowOffsetValid) {
    if (first_row < in.pos() || first_row > size) {
      Bad(L"the first row is said to start at offset " + Num(first_row) +
          L", but the column descriptions end at " + Num(in.pos()));
    }
    in.Seek(first_row);
  }

  const size_t columns = packet.columns.size();
  const size_t flag_bytes = (columns + 3) / 4;
  // The row count is a claim: reserve no more rows than there are bytes left.
  packet.rows.reserve(std::min<size_t>(row_count, in.left()));
  for (uint32_t r = 0; r < row_count; ++r) {
    const std::wstring label = L"row " + Num(r + 1u) + L" of " + Num(row_count);
    Row row;
    row.status = in.U8(L"the status of " + label);
    const std::vector<uint8_t> flags = in.Take(flag_bytes, L"the null flags of " + label);
    row.values.reserve(columns);
    for (size_t k = 0; k < columns; ++k) {
      const Column& column = packet.columns[k];
      const unsigned bits = (flags[k / 4] >> (2 * (k % 4))) & 3u;
      const std::wstring what = L"field " + Quoted(column.name) + L" of " + label;
      if (bits & 1u) {
        row.values.push_back(NullValue());
      } else if (bits & 2u) {
        // Not changed: the value is the one of the row's earlier version, written before it.
        if (packet.rows.empty()) Bad(what + L" refers to an earlier row, but it is the first");
        row.values.push_back(packet.rows.back().values[k]);
      } else if (column.type.varying()) {
        const uint64_t length = in.Uint(column.type.size, L"the length of " + what);
        if (column.type.size == 4 && (length & kDelayedBlob)) {
          row.values.push_back(Value{ValueState::Delayed, {}});
        } else {
          row.values.push_back(Value{ValueState::Present, in.Take(length, what)});
        }
      } else {
        row.values.push_back(Value{ValueState::Present, in.Take(column.type.size, what)});
      }
    }
    packet.rows.push_back(std::move(row));
  }
  return packet;
}

// ---- Writer ----

namespace {

void PutUint(std::vector<uint8_t>& out, uint64_t v, size_t size) {
  for (size_t i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutName(std::vector<uint8_t>& out, const std::string& name, const std::wstring& what) {
  if (name.size() > 255) throw FormatError(what + L" is longer than 255 bytes");
  out.push_back(static_cast<uint8_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
}

uint64_t PrefixLimit(uint16_t size) {
  return size == 1 ? 0xFFu : size == 2 ? 0xFFFFu : 0x7FFFFFFFu;
}

void PutProperties(std::vector<uint8_t>& out, const std::vector<Property>& props,
                   const std::wstring& owner) {
  if (props.size() > 0xFFFF) throw FormatError(owner + L" has too many properties");
  PutUint(out, props.size(), 2);
  for (const Property& p : props) {
    const std::wstring what = L"Property " + Quoted(p.name) + L" of " + owner;
    PutName(out, p.name, what);
    PutUint(out, p.type.word(), 4);
    if (p.type.array()) {
      if (uint64_t{p.count} * p.type.size != p.value.size()) {
        throw FormatError(what + L" holds " + Num(p.value.size()) + L" bytes for " + Num(p.count) +
                          L" elements");
      }
      PutUint(out, p.count, 4);
    } else if (p.type.varying()) {
      if (!IsPrefixSize(p.type.size) || p.value.size() > PrefixLimit(p.type.size)) {
        throw FormatError(what + L" is too long for its length prefix");
      }
      PutUint(out, p.value.size(), p.type.size);
    } else if (p.value.size() != p.type.size) {
      throw FormatError(what + L" holds " + Num(p.value.size()) + L" bytes, not " +
                        Num(p.type.size));
    }
    out.insert(out.end(), p.value.begin(), p.value.end());
  }
}

}  // namespace

std::vector<uint8_t> WritePacket(const Packet& packet) {
  if (packet.columns.size() > 0xFFFF)
    throw FormatError(L"A data packet holds at most 65535 columns");
  if (packet.rows.size() > 0xFFFFFFFFu) throw FormatError(L"Too many rows for a data packet");
  int32_t version = 1;
  for (const Column& c : packet.columns) {
    if (c.type.base() > kBytes) version = 2;
  }
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  PutUint(out, static_cast<uint32_t>(version), 4);
  PutUint(out, kHeaderSize, 4);
  PutUint(out, packet.columns.size(), 2);
  PutUint(out, packet.rows.size(), 4);
  const size_t attributes_at = out.size();
  PutUint(out, 0, 4);  // attributes and first-row offset, known once the metadata is out
  PutUint(out, 0, 2);

  for (const Column& c : packet.columns) {
    const std::wstring what = L"Column " + Quoted(c.name);
    if (c.name.empty()) throw FormatError(L"A data packet column needs a name");
    CheckColumnType(Quoted(c.name), c.type);
    PutName(out, c.name, what + L" name");
    PutUint(out, c.type.word(), 4);
    PutUint(out, c.attributes, 2);
    PutProperties(out, c.properties, what);
  }
  PutProperties(out, packet.properties, L"the dataset");

  const size_t first_row = out.size();
  const uint32_t attributes =
      first_row <= 0xFFFF ? kPacketMetadata | kPacketRowOffsetValid : kPacketMetadata;
  for (size_t i = 0; i < 4; ++i)
    out[attributes_at + i] = static_cast<uint8_t>(attributes >> (8 * i));
  if (attributes & kPacketRowOffsetValid) {
    out[attributes_at + 4] = static_cast<uint8_t>(first_row);
    out[attributes_at + 5] = static_cast<uint8_t>(first_row >> 8);
  }

  const size_t columns = packet.columns.size();
  for (size_t r = 0; r < packet.rows.size(); ++r) {
    const Row& row = packet.rows[r];
    const std::wstring label = L"row " + Num(r + 1);
    if (row.values.size() != columns) {
      throw FormatError(L"Data packet " + label + L" has " + Num(row.values.size()) +
                        L" values for " + Num(columns) + L" columns");
    }
    out.push_back(row.status);
    std::vector<uint8_t> flags((columns + 3) / 4);
    for (size_t k = 0; k < columns; ++k) {
      const ValueState state = row.values[k].state;
      if (state == ValueState::Null) flags[k / 4] |= static_cast<uint8_t>(1u << (2 * (k % 4)));
      if (state == ValueState::NotChanged) {
        if (r == 0) throw FormatError(L"The first row of a data packet cannot be \"not changed\"");
        flags[k / 4] |= static_cast<uint8_t>(2u << (2 * (k % 4)));
      }
    }
    out.insert(out.end(), flags.begin(), flags.end());
    for (size_t k = 0; k < columns; ++k) {
      const Column& c = packet.columns[k];
      const Value& v = row.values[k];
      const std::wstring what = L"Field " + Quoted(c.name) + L" of " + label;
      if (v.state == ValueState::Null || v.state == ValueState::NotChanged) continue;
      if (v.state == ValueState::Delayed) {
        if (!c.type.varying() || c.type.size != 4) {
          throw FormatError(what + L" can be left out only with a 4-byte length prefix");
        }
        PutUint(out, kDelayedBlob, 4);
        continue;
      }
      if (c.type.varying()) {
        if (v.data.size() > PrefixLimit(c.type.size)) {
          throw FormatError(what + L" has " + Num(v.data.size()) + L" bytes, too many for a " +
                            Num(c.type.size) + L"-byte length");
        }
        PutUint(out, v.data.size(), c.type.size);
      } else if (v.data.size() != c.type.size) {
        throw FormatError(what + L" has " + Num(v.data.size()) + L" bytes, not " +
                          Num(c.type.size));
      }
      out.insert(out.end(), v.data.begin(), v.data.end());
    }
  }
  return out;
}

}  // namespace quillon::datasnap
