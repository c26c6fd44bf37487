// DataSnap data packets: the exact layout of the icon set, round trips of every supported
// type, row status and null flags, and damaged or hostile packets.
#include "formats/datasnap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "platform/fake/fake_code_page.h"

namespace quillon::datasnap {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// The icon set's two columns.
Packet IconSet(const std::vector<std::pair<std::string, Bytes>>& images) {
  Packet p;
  p.columns = {ZStringColumn("sName", 50), BytesColumn("sFile", 4, "Binary")};
  for (const auto& image : images) {
    p.rows.push_back(Row{0, {ZStringValue(image.first), BytesValue(image.second)}});
  }
  return p;
}

TEST(DataSnap, IconSetLayoutByteForByte) {
  const Bytes packet = WritePacket(IconSet({{"a.bmp", {'x', 'y', 'z'}}, {"b.png", {}}}));
  // clang-format off
  const Bytes expected = {
      0x96, 0x19, 0xE0, 0xBD,  // magic
      1, 0, 0, 0,              // version
      24, 0, 0, 0,             // header size
      2, 0,                    // columns
      2, 0, 0, 0,              // rows
      3, 0, 0, 0,              // attributes
      87, 0,                   // first row
      5, 's', 'N', 'a', 'm', 'e', 1, 0, 0x49, 0, 0, 0, 1, 0,  // sName
      5, 'W', 'I', 'D', 'T', 'H', 2, 0, 2, 0, 50, 0,           // WIDTH = 50
      5, 's', 'F', 'i', 'l', 'e', 4, 0, 0x4B, 0, 0, 0, 1, 0,  // sFile
      7, 'S', 'U', 'B', 'T', 'Y', 'P', 'E', 2, 0, 0x49, 0,     // SUBTYPE
      7, 0, 'B', 'i', 'n', 'a', 'r', 'y', 0,                   //   = "Binary"
      0, 0,                                                    // dataset properties
      0, 0, 5, 'a', '.', 'b', 'm', 'p', 3, 0, 0, 0, 'x', 'y', 'z',  // row 1
      0, 0, 5, 'b', '.', 'p', 'n', 'g', 0, 0, 0, 0,                 // row 2
  };
  // clang-format on
  EXPECT_EQ(packet, expected);

  FakeCodePage cp("GBK");
  const Packet read = ReadPacket(packet);
  ASSERT_EQ(read.CurrentRows().size(), 2u);
  EXPECT_EQ(read.Text(read.rows[0], L"SNAME", cp), L"a.bmp");
  EXPECT_EQ(read.Blob(read.rows[0], L"sFile"), (Bytes{'x', 'y', 'z'}));
  EXPECT_EQ(read.Blob(read.rows[1], L"sFile"), Bytes{});
}

TEST(DataSnap, WidthAsFourByteInteger) {
  Packet p = IconSet({{"a.bmp", {1}}});
  p.columns[0].properties = {IntProperty("WIDTH", 4, 50)};
  const Packet read = ReadPacket(WritePacket(p));
  const Property* width = read.columns[0].FindProperty("width");
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(width->type, (FieldType{kInt, 4}));
  EXPECT_EQ(width->value, (Bytes{50, 0, 0, 0}));
  FakeCodePage cp("CP1252");
  EXPECT_EQ(read.FirstRecordText(L"sName", cp), L"a.bmp");
}

void ExpectSameValue(const Value& a, const Value& b, const std::string& where) {
  EXPECT_EQ(static_cast<int>(a.state), static_cast<int>(b.state)) << where;
  EXPECT_EQ(a.data, b.data) << where;
}

TEST(DataSnap, RoundTripOfEveryType) {
  FakeCodePage gbk("GBK");
  struct Field {
    Column column;
    Value value;
    std::wstring text;
  };
  const std::wstring chinese = L"\x91CF\x5B50\x8F6F\x4EF6";  // 量子软件
  const std::wstring astral = std::wstring(L"A") + static_cast<wchar_t>(0x20BB7) + L"B";
  const std::vector<Field> fields = {
      {FixedColumn("i1", kInt, 1), IntValue(-5, 1), L"-5"},
      {FixedColumn("i2", kInt, 2), IntValue(-32768, 2), L"-32768"},
      {FixedColumn("i4", kInt, 4), IntValue(2147483647, 4), L"2147483647"},
      {FixedColumn("i8", kInt, 8), IntValue(INT64_MIN, 8), L"-9223372036854775808"},
      {FixedColumn("u1", kUInt, 1), IntValue(255, 1), L"255"},
      {FixedColumn("u2", kUInt, 2), IntValue(65535, 2), L"65535"},
      {FixedColumn("u4", kUInt, 4), IntValue(4294967295, 4), L"4294967295"},
      {FixedColumn("u8", kUInt, 8), IntValue(-1, 8), L"18446744073709551615"},
      {FixedColumn("yes", kBool, 2), BoolValue(true), L"True"},
      {FixedColumn("no", kBool, 2), BoolValue(false), L"False"},
      {FixedColumn("f8", kFloat, 8),
       [] {
         Value v{ValueState::Present, Bytes(8)};
         const double d = 2.5;
         std::memcpy(v.data.data(), &d, 8);
         return v;
       }(),
       L"2.5"},
      {ZStringColumn("z", 40), ZStringValue(gbk.ToAnsi(chinese)), chinese},
      {ZStringColumn("zlong", 300), ZStringValue(std::string(300, 'q')), std::wstring(300, L'q')},
      {ZStringColumn("zempty", 10), ZStringValue(std::string(1, '\0')), L""},
      {UnicodeColumn("w", 40), UnicodeValue(chinese + astral), chinese + astral},
      {BytesColumn("b1", 1, ""), BytesValue({1, 2, 3}), L"\x01\x02\x03"},
      {BytesColumn("b2", 2, "Binary"), BytesValue(Bytes(300, 7)), std::wstring(300, L'\x07')},
      {BytesColumn("b4", 4, "Text"), BytesValue(B(gbk.ToAnsi(chinese))), chinese},
      {BytesColumn("memo", 4, "WideText"), UnicodeValue(chinese), chinese},
  };
  Packet p;
  p.properties = {UIntProperty("LCID", 4, 2052)};
  Row full{0, {}}, nulls{4, {}};
  for (const Field& f : fields) {
    p.columns.push_back(f.column);
    full.values.push_back(f.value);
    nulls.values.push_back(NullValue());
  }
  p.rows = {full, nulls};

  const Bytes bytes = WritePacket(p);
  const Packet read = ReadPacket(bytes);
  EXPECT_EQ(WritePacket(read), bytes);  // nothing lost on the way through
  ASSERT_EQ(read.columns.size(), fields.size());
  ASSERT_EQ(read.rows.size(), 2u);
  ASSERT_EQ(read.properties.size(), 1u);
  EXPECT_EQ(read.properties[0].value, (Bytes{0x04, 0x08, 0, 0}));
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string name = fields[i].column.name;
    EXPECT_EQ(read.columns[i].name, name);
    EXPECT_EQ(read.columns[i].type, fields[i].column.type) << name;
    ExpectSameValue(read.rows[0].values[i], fields[i].value, name);
    EXPECT_EQ(ValueAsText(read.columns[i], read.rows[0].values[i], gbk), fields[i].text) << name;
    EXPECT_TRUE(read.rows[1].values[i].is_null()) << name;
    EXPECT_EQ(ValueAsText(read.columns[i], read.rows[1].values[i], gbk), L"") << name;
  }
  EXPECT_EQ(read.rows[1].status, 4);
  EXPECT_EQ(ValueAsInt(read.columns[0], read.rows[0].values[0]), -5);
  EXPECT_EQ(ValueAsInt(read.columns[8], read.rows[0].values[8]), 1);
}

TEST(DataSnap, RowStatusAndEarlierVersions) {
  FakeCodePage cp("CP1252");
  Packet p;
  p.columns = {ZStringColumn("name", 20), FixedColumn("n", kInt, 4)};
  auto row = [](uint8_t status, Value a, Value b) { return Row{status, {a, b}}; };
  const Value same{ValueState::NotChanged, {}};
  p.rows = {
      row(kRowDeleted, ZStringValue("gone"), IntValue(1, 4)),
      row(kRowUnused, ZStringValue("unused"), IntValue(2, 4)),
      row(0, ZStringValue("first"), IntValue(3, 4)),
      row(kRowOriginal, ZStringValue("before"), IntValue(4, 4)),
      row(kRowModified, same, IntValue(40, 4)),  // name not changed: "before"
      row(kRowInserted, ZStringValue("new"), NullValue()),
      row(kRowModified | kRowDetailUpdated, ZStringValue("detail"), same),  // n from "new": null
  };
  const Packet read = ReadPacket(WritePacket(p));
  std::vector<std::wstring> names;
  for (const Row* r : read.CurrentRows()) names.push_back(read.Text(*r, L"name", cp));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"first", L"before", L"new", L"detail"}));
  EXPECT_EQ(read.FirstRecordText(L"n", cp), L"3");  // the first current row
  EXPECT_EQ(read.Text(read.rows[4], L"n", cp), L"40");
  EXPECT_TRUE(read.rows[6].values[1].is_null());
  EXPECT_EQ(read.rows.size(), 7u);  // non-current rows stay readable
}

TEST(DataSnap, FirstRecordFields) {
  FakeCodePage cp("GBK");
  Packet p;
  p.columns = {ZStringColumn("a12", 50), ZStringColumn("a16", 50)};
  const Bytes empty = WritePacket(p);
  EXPECT_EQ(ReadPacket(empty).FirstRecordText(L"a12", cp), L"");  // no record: empty text
  p.rows = {Row{0, {ZStringValue("Nova"), NullValue()}}};
  const Packet read = ReadPacket(WritePacket(p));
  EXPECT_EQ(read.FirstRecordText(L"A12", cp), L"Nova");
  EXPECT_EQ(read.FirstRecordText(L"a16", cp), L"");  // null: empty
  try {
    read.FirstRecordText(L"a18", cp);
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_NE(e.message().find(L"\"a18\""), std::wstring::npos) << e.what();
  }
}

TEST(DataSnap, BlobLeftOutOfThePacket) {
  Packet p = IconSet({{"a.bmp", {}}});
  p.rows[0].values[1] = Value{ValueState::Delayed, {}};
  const Bytes bytes = WritePacket(p);
  EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0, 0, 0, 0x80}));
  const Packet read = ReadPacket(bytes);
  EXPECT_THROW(read.Blob(read.rows[0], L"sFile"), FormatError);
}

// ---- Damaged and hostile packets ----

std::string ReadError(const Bytes& bytes) {
  try {
    ReadPacket(bytes);
  } catch (const FormatError& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("wrong exception: ") + e.what();
  }
  return "(no error)";
}

TEST(DataSnap, EveryTruncationIsAnError) {
  Packet p = IconSet({{"a.bmp", {1, 2, 3}}, {"b.png", {4}}});
  p.columns.push_back(FixedColumn("n", kInt, 8));
  p.columns.push_back(UnicodeColumn("w", 20));
  p.properties = {UIntProperty("LCID", 4, 2052)};
  p.rows[0].values.insert(p.rows[0].values.end(), {IntValue(7, 8), UnicodeValue(L"x")});
  p.rows[1].values.insert(p.rows[1].values.end(), {NullValue(), UnicodeValue(L"yz")});
  const Bytes whole = WritePacket(p);
  ASSERT_EQ(ReadPacket(whole).rows.size(), 2u);
  for (size_t n = 0; n < whole.size(); ++n) {
    const std::string error = ReadError(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
    EXPECT_EQ(error.find("Damaged data packet"), 0u) << n << " bytes: " << error;
  }
}

TEST(DataSnap, HostileFieldsAreErrors) {
  const Bytes base = WritePacket(IconSet({{"a.bmp", {1, 2, 3}}}));
  // Offsets in the icon-set layout: sName's type at 30, its WIDTH at 38; sFile's type at 56,
  // its SUBTYPE's type at 72 and length at 76; the row at 87.
  struct Case {
    const char* name;
    size_t offset;
    Bytes patch;
    const char* message;
  } cases[] = {
      {"magic", 0, {0x97}, "does not begin with the bytes 96 19 E0 BD"},
      {"version 0", 4, {0, 0, 0, 0}, "unsupported version"},
      {"version 4", 4, {4, 0, 0, 0}, "unsupported version"},
      {"minor version", 4, {1, 0, 1, 0}, "unsupported version"},
      {"header size 0", 8, {0, 0, 0, 0}, "header size 0"},
      {"header size 23", 8, {23, 0, 0, 0}, "header size 23"},
      {"header size past the end", 8, {0xFF, 0xFF, 0, 0}, "header size 65535"},
      {"column count 0xFFFF", 12, {0xFF, 0xFF}, "column 3 has an empty name"},
      {"row count 0xFFFFFFFF", 14, {0xFF, 0xFF, 0xFF, 0xFF}, "the status of row 2"},
      {"first row inside the columns", 22, {30, 0}, "first row is said to start at offset 30"},
      {"first row past the end", 22, {0xFF, 0xFF}, "offset 65535"},
      {"empty column name", 24, {0}, "column 1 has an empty name"},
      {"column name past the end", 24, {0xFF}, "the name of column 1"},
      {"prefix of 3 bytes", 30, {3, 0}, "length prefix of 3 bytes"},
      {"prefix of 0 bytes", 30, {0, 0}, "length prefix of 0 bytes"},
      {"array column", 32, {0xC9, 0x00}, "not supported"},
      {"nested column", 32, {0x49, 0x01}, "not supported"},
      {"unknown flags", 32, {0x49, 0x08}, "unknown type flags"},
      {"no type", 32, {0x40, 0x00}, "has no type"},
      {"INT of 3 bytes", 56, {3, 0, 1, 0}, "width of 3 bytes"},
      {"property count 0xFFFF", 36, {0xFF, 0xFF}, "needs"},
      {"property array of 2^32-1", 72, {2, 0, 0x89, 0}, "SUBTYPE"},
      {"property prefix of 5 bytes", 72, {5, 0, 0x49, 0}, "length prefix of 5 bytes"},
      {"property text past the end", 76, {0xFF, 0xFF}, "SUBTYPE"},
      {"value longer than the packet", 89, {0xFF}, "field \"sName\" of row 1"},
      {"blob longer than the packet", 95, {0xFF, 0xFF, 0xFF, 0x7F}, "field \"sFile\" of row 1"},
      {"not changed in the first row", 88, {0x02}, "refers to an earlier row"},
  };
  for (const Case& c : cases) {
    Bytes bytes = base;
    ASSERT_LE(c.offset + c.patch.size(), bytes.size()) << c.name;
    std::copy(c.patch.begin(), c.patch.end(), bytes.begin() + static_cast<long>(c.offset));
    const std::string error = ReadError(bytes);
    EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
  }
}

TEST(DataSnap, TextOfOddUnicodeIsAnError) {
  FakeCodePage cp("CP1252");
  Packet p;
  p.columns = {UnicodeColumn("w", 10)};
  p.rows = {Row{0, {BytesValue({'a', 0, 'b'})}}};
  const Packet read = ReadPacket(WritePacket(p));
  EXPECT_THROW(read.FirstRecordText(L"w", cp), FormatError);
}

TEST(DataSnap, WhatTheWriterRefuses) {
  struct Case {
    const char* name;
    Packet packet;
  };
  auto with = [](auto change) {
    Packet p = IconSet({{"a.bmp", {1}}});
    change(p);
    return p;
  };
  const Case cases[] = {
      {"too few values", with([](Packet& p) { p.rows[0].values.pop_back(); })},
      {"fixed value of the wrong size", with([](Packet& p) {
         p.columns.push_back(FixedColumn("n", kInt, 4));
         p.rows[0].values.push_back(IntValue(1, 2));
       })},
      {"text too long for a 1-byte length",
       with([](Packet& p) { p.rows[0].values[0] = ZStringValue(std::string(256, 'a')); })},
      {"empty column name", with([](Packet& p) { p.columns[0].name.clear(); })},
      {"column name of 256 bytes", with([](Packet& p) { p.columns[0].name.assign(256, 'n'); })},
      {"blob left out without a 4-byte length", with([](Packet& p) {
         p.rows[0].values[0] = Value{ValueState::Delayed, {}};
       })},
      {"not changed in the first row", with([](Packet& p) {
         p.rows[0].values[0] = Value{ValueState::NotChanged, {}};
       })},
      {"array column", with([](Packet& p) { p.columns[0].type.code |= kArrayFlag; })},
  };
  for (const Case& c : cases) EXPECT_THROW(WritePacket(c.packet), FormatError) << c.name;
}

}  // namespace
}  // namespace quillon::datasnap
