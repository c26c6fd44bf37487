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

// The reader's texts are shown to the installer's user (a damaged product information file or
// icon set), so they come in the three languages; names and numbers stay as they are inside.
// Descriptions of the part being read ("the length of field "X" of row 3 of 9") are put
// together from smaller ones; in Chinese the owner comes first: Of(part, owner).
LocalText Of(const LocalText& part, const LocalText& owner) {
  return {owner.a + L"的" + part.a, owner.b + L"的" + part.b, part.c + L" of " + owner.c};
}

LocalText ColumnNumbered(size_t number) {
  const std::wstring n = Num(number);
  return {L"第 " + n + L" 列", L"第 " + n + L" 欄", L"column " + n};
}

// `quoted` is a quoted name.
LocalText ColumnNamed(const std::wstring& quoted) {
  return {L"列 " + quoted, L"欄 " + quoted, L"column " + quoted};
}

LocalText FieldNamed(const std::wstring& quoted) {
  return {L"字段 " + quoted, L"欄位 " + quoted, L"field " + quoted};
}

LocalText RowNumbered(uint32_t number, uint32_t count) {
  const std::wstring r = Num(number), n = Num(count);
  return {L"第 " + r + L" 行（共 " + n + L" 行）", L"第 " + r + L" 列（共 " + n + L" 列）",
          L"row " + r + L" of " + n};
}

LocalText TheDataset() {
  return {L"数据集", L"資料集", L"the dataset"};
}

[[noreturn]] void Bad(const LocalText& detail) {
  throw FormatError(LocalText{L"数据包已损坏：" + detail.a, L"資料封包已損壞：" + detail.b,
                              L"Damaged data packet: " + detail.c});
}

// Reads little-endian values from the packet, checking every read against its end.
class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t pos() const { return pos_; }
  size_t left() const { return size_ - pos_; }
  void Seek(size_t pos) { pos_ = pos; }

  void Need(uint64_t count, const LocalText& what) const {
    if (count > left()) {
      const std::wstring at = Num(pos_), need = Num(count), have = Num(left());
      Bad({what.a + L"（偏移 " + at + L"）需要 " + need + L" 字节，但只剩 " + have + L" 字节",
           what.b + L"（偏移 " + at + L"）需要 " + need + L" 位元組，但只剩 " + have + L" 位元組",
           what.c + L" at offset " + at + L" needs " + need + L" bytes, but only " + have +
               L" remain"});
    }
  }
  uint64_t Uint(size_t count, const LocalText& what) {
    Need(count, what);
    uint64_t v = 0;
    for (size_t i = 0; i < count; ++i) v |= uint64_t{data_[pos_ + i]} << (8 * i);
    pos_ += count;
    return v;
  }
  uint8_t U8(const LocalText& what) { return static_cast<uint8_t>(Uint(1, what)); }
  uint16_t U16(const LocalText& what) { return static_cast<uint16_t>(Uint(2, what)); }
  uint32_t U32(const LocalText& what) { return static_cast<uint32_t>(Uint(4, what)); }
  std::vector<uint8_t> Take(uint64_t count, const LocalText& what) {
    Need(count, what);
    std::vector<uint8_t> out(data_ + pos_, data_ + pos_ + count);
    pos_ += static_cast<size_t>(count);
    return out;
  }
  std::string Name(const LocalText& what) {
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
// `column` is the column's quoted name.
void CheckColumnType(const std::wstring& column, const FieldType& type) {
  const uint16_t flags = type.code & ~0x3F & ~kVaryingFlag;
  const std::wstring hex = Hex(type.word());
  if (flags & (kArrayFlag | kPseudoFlag | kCompressedArrayFlag | kEmbeddedTableFlag)) {
    throw FormatError(LocalText{
        L"数据包的列 " + column + L" 类型为 " + hex + L"：不支持嵌套、数组和表类型的列",
        L"資料封包的欄 " + column + L" 類型為 " + hex + L"：不支援巢狀、陣列和資料表類型的欄",
        L"Data packet column " + column + L" has type " + hex +
            L": nested, array and table columns are not supported"});
  }
  if (flags != 0) {
    Bad({L"列 " + column + L" 的类型 " + hex + L" 含有未知的标志",
         L"欄 " + column + L" 的類型 " + hex + L" 含有未知的旗標",
         L"column " + column + L" has unknown type flags in " + hex});
  }
  if (type.base() == 0) {
    Bad({L"列 " + column + L" 没有类型", L"欄 " + column + L" 沒有類型",
         L"column " + column + L" has no type"});
  }
  const std::wstring size = Num(type.size);
  if (type.varying()) {
    if (!IsPrefixSize(type.size)) {
      Bad({L"列 " + column + L" 的长度前缀为 " + size + L" 字节（应为 1、2 或 4）",
           L"欄 " + column + L" 的長度前置為 " + size + L" 位元組（應為 1、2 或 4）",
           L"column " + column + L" has a length prefix of " + size +
               L" bytes (1, 2 or 4 expected)"});
    }
    return;
  }
  const bool int_size = type.size == 1 || type.size == 2 || type.size == 4 || type.size == 8;
  if (((type.base() == kInt || type.base() == kUInt || type.base() == kBool) && !int_size) ||
      type.size == 0) {
    Bad({L"列 " + column + L" 的宽度为 " + size + L" 字节，与其类型 " + hex + L" 不符",
         L"欄 " + column + L" 的寬度為 " + size + L" 位元組，與其類型 " + hex + L" 不符",
         L"column " + column + L" has a width of " + size + L" bytes, wrong for its type " + hex});
  }
}

Property ReadProperty(Cursor& in, const LocalText& owner) {
  Property p;
  p.name = in.Name(Of({L"属性名", L"屬性名稱", L"a property name"}, owner));
  const std::wstring quoted = Quoted(p.name);
  const LocalText what = Of({L"属性 " + quoted, L"屬性 " + quoted, L"property " + quoted}, owner);
  const uint32_t word = in.U32(what);
  p.type.code = static_cast<uint16_t>((word >> 16) & ~kIncludeInDeltaFlag);
  p.type.size = static_cast<uint16_t>(word);
  if (p.type.code & (kPseudoFlag | kEmbeddedTableFlag)) {
    const std::wstring hex = Hex(word);
    Bad({what.a + L"为嵌套类型 " + hex, what.b + L"為巢狀類型 " + hex,
         what.c + L" has the nested type " + hex});
  }
  if (p.type.array()) {
    p.count = in.U32(what);
    p.value = in.Take(uint64_t{p.count} * p.type.size, what);
  } else if (p.type.varying()) {
    if (!IsPrefixSize(p.type.size)) {
      const std::wstring size = Num(p.type.size);
      Bad({what.a + L"的长度前缀为 " + size + L" 字节",
           what.b + L"的長度前置為 " + size + L" 位元組",
           what.c + L" has a length prefix of " + size + L" bytes"});
    }
    const uint64_t length = in.Uint(p.type.size, what);
    p.value = in.Take(length, what);
  } else {
    p.value = in.Take(p.type.size, what);
  }
  return p;
}

std::vector<Property> ReadProperties(Cursor& in, const LocalText& owner) {
  const uint16_t count = in.U16(Of({L"属性个数", L"屬性個數", L"the property count"}, owner));
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
    const std::wstring n = Num(bytes.size());
    Bad({L"列 " + column + L" 的 UTF-16 文本字节数 " + n + L" 为奇数",
         L"欄 " + column + L" 的 UTF-16 文字位元組數 " + n + L" 為奇數",
         L"the UTF-16 text of column " + column + L" has an odd byte count " + n});
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
    const std::wstring field = Quoted(column.name);
    throw FormatError(
        LocalText{L"数据包中没有字段 " + field + L" 的二进制数据",
                  L"資料封包中沒有欄位 " + field + L" 的二進位資料",
                  L"The blob of field " + field + L" was left out of the data packet"});
  }
  if (value.state != ValueState::Present) return {};
  return value.data;
}

int64_t ValueAsInt(const Column& column, const Value& value) {
  const uint16_t base = column.type.base();
  const std::wstring field = Quoted(column.name);
  if (column.type.varying() || (base != kInt && base != kUInt && base != kBool)) {
    throw FormatError(LocalText{L"字段 " + field + L" 不是整数字段",
                                L"欄位 " + field + L" 不是整數欄位",
                                L"Field " + field + L" is not an integer field"});
  }
  if (value.state != ValueState::Present) {
    throw FormatError(LocalText{L"字段 " + field + L" 为空", L"欄位 " + field + L" 為空",
                                L"Field " + field + L" is empty"});
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
  const std::wstring field = Quoted(column.name), hex = Hex(column.type.word());
  throw FormatError(LocalText{L"类型为 " + hex + L" 的字段 " + field + L" 不能作为文本读取",
                              L"類型為 " + hex + L" 的欄位 " + field + L" 不能作為文字讀取",
                              L"Field " + field + L" of type " + hex + L" cannot be read as text"});
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
  if (!index) {
    throw FormatError(LocalText{L"数据包中没有字段 \"" + name + L"\"",
                                L"資料封包中沒有欄位 \"" + name + L"\"",
                                L"The data packet has no field \"" + name + L"\""});
  }
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
  const std::wstring bytes = Num(size);
  if (size < kHeaderSize) {
    Bad({L"只有 " + bytes + L" 字节，不足 24 字节的文件头",
         L"只有 " + bytes + L" 位元組，不足 24 位元組的檔頭",
         L"only " + bytes + L" bytes, fewer than the 24-byte header"});
  }
  if (!LooksLikePacket(data, size)) {
    throw FormatError(LocalText{
        L"不是数据包：开头不是字节 96 19 E0 BD", L"不是資料封包：開頭不是位元組 96 19 E0 BD",
        L"Not a data packet: it does not begin with the bytes 96 19 E0 BD"});
  }
  Cursor in(data, size);
  in.Seek(4);
  Packet packet;
  packet.version = static_cast<int32_t>(in.U32({L"版本", L"版本", L"the version"}));
  if (packet.version < 1 || packet.version > 3) {
    const std::wstring hex = Hex(static_cast<uint32_t>(packet.version));
    Bad({L"不支持的版本 " + hex, L"不支援的版本 " + hex, L"unsupported version " + hex});
  }
  const uint32_t header_size = in.U32({L"文件头大小", L"檔頭大小", L"the header size"});
  const uint16_t column_count = in.U16({L"列数", L"欄數", L"the column count"});
  const uint32_t row_count = in.U32({L"行数", L"列數", L"the row count"});
  packet.attributes = in.U32({L"数据包特性", L"資料封包特性", L"the packet attributes"});
  const uint16_t first_row = in.U16({L"首行偏移", L"首列偏移", L"the first-row offset"});
  if (header_size < kHeaderSize || header_size > size) {
    const std::wstring n = Num(header_size);
    Bad({L"文件头大小为 " + n + L"（数据包共 " + bytes + L" 字节）",
         L"檔頭大小為 " + n + L"（資料封包共 " + bytes + L" 位元組）",
         L"header size " + n + L" (the packet has " + bytes + L" bytes)"});
  }
  in.Seek(header_size);

  for (uint16_t i = 0; i < column_count; ++i) {
    const LocalText label = ColumnNumbered(i + 1u);
    Column column;
    column.name = in.Name(Of({L"名称", L"名稱", L"the name"}, label));
    if (column.name.empty()) {
      Bad({label.a + L"的名称为空", label.b + L"的名稱為空", label.c + L" has an empty name"});
    }
    const LocalText what = ColumnNamed(Quoted(column.name));
    const uint32_t word = in.U32(Of({L"类型", L"類型", L"the type"}, what));
    column.type.code = static_cast<uint16_t>((word >> 16) & ~kIncludeInDeltaFlag);
    column.type.size = static_cast<uint16_t>(word);
    column.attributes = in.U16(Of({L"特性", L"特性", L"the attributes"}, what));
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
  packet.properties = ReadProperties(in, TheDataset());

  if (packet.attributes & kPacketRowOffsetValid) {
    if (first_row < in.pos() || first_row > size) {
      const std::wstring at = Num(first_row), end = Num(in.pos());
      Bad({L"首行的偏移为 " + at + L"，但列的描述到 " + end + L" 才结束",
           L"首列的偏移為 " + at + L"，但欄的描述到 " + end + L" 才結束",
           L"the first row is said to start at offset " + at +
               L", but the column descriptions end at " + end});
    }
    in.Seek(first_row);
  }

  const size_t columns = packet.columns.size();
  const size_t flag_bytes = (columns + 3) / 4;
  // The row count is a claim: reserve no more rows than there are bytes left.
  packet.rows.reserve(std::min<size_t>(row_count, in.left()));
  for (uint32_t r = 0; r < row_count; ++r) {
    const LocalText label = RowNumbered(r + 1u, row_count);
    Row row;
    row.status = in.U8(Of({L"状态", L"狀態", L"the status"}, label));
    const std::vector<uint8_t> flags =
        in.Take(flag_bytes, Of({L"空值标志", L"空值旗標", L"the null flags"}, label));
    row.values.reserve(columns);
    for (size_t k = 0; k < columns; ++k) {
      const Column& column = packet.columns[k];
      const unsigned bits = (flags[k / 4] >> (2 * (k % 4))) & 3u;
      const LocalText what = Of(FieldNamed(Quoted(column.name)), label);
      if (bits & 1u) {
        row.values.push_back(NullValue());
      } else if (bits & 2u) {
        // Not changed: the value is the one of the row's earlier version, written before it.
        if (packet.rows.empty()) {
          Bad({what.a + L"引用前一行，但它已是第一行", what.b + L"引用前一列，但它已是第一列",
               what.c + L" refers to an earlier row, but it is the first"});
        }
        row.values.push_back(packet.rows.back().values[k]);
      } else if (column.type.varying()) {
        const uint64_t length =
            in.Uint(column.type.size, Of({L"长度", L"長度", L"the length"}, what));
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
