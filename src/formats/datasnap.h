#pragma once
// The binary data packet of the DataSnap client dataset (MIDAS), read and written: a 24-byte
// header, column descriptors with properties, dataset properties, then the rows, each with a
// status byte, null flags and the values of its present columns. Flat columns of every fixed
// type and the varying (length-prefixed) types are read; nested, array and embedded-table
// columns are refused. Every count, length and offset is checked against the bytes that are
// really there: a damaged or hostile packet raises FormatError and nothing is allocated for a
// claimed size before its bytes exist.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports/code_page.h"

namespace quillon::datasnap {

// Field type codes: the low six bits of a type's code word.
enum TypeCode : uint16_t {
  kInt = 1,
  kUInt = 2,
  kBool = 3,
  kFloat = 4,
  kBcd = 5,
  kDate = 6,
  kTime = 7,
  kTimeStamp = 8,
  kZString = 9,   // 8-bit text in the ANSI code page
  kUnicode = 10,  // UTF-16LE text, byte count
  kBytes = 11,
  kAdt = 12,
  kArray = 13,
  kEmbeddedTable = 14,
  kRef = 15,
  kBigDecimal = 16,
  kDateTime = 17,
  kFmtBcd = 18,
  kSingle = 27,
};

// Flags of the code word.
constexpr uint16_t kVaryingFlag = 0x40;
constexpr uint16_t kArrayFlag = 0x80;
constexpr uint16_t kPseudoFlag = 0x100;
constexpr uint16_t kCompressedArrayFlag = 0x200;
constexpr uint16_t kEmbeddedTableFlag = 0x400;
// Marks properties that belong in change packets; it does not change how a value is stored.
constexpr uint16_t kIncludeInDeltaFlag = 0x8000;

// A type word: code and flags in the high half, and in the low half the byte width of a fixed
// type or the width of the length prefix (1, 2 or 4) of a varying one.
struct FieldType {
  uint16_t code = 0;
  uint16_t size = 0;

  uint16_t base() const { return code & 0x3F; }
  bool varying() const { return (code & kVaryingFlag) != 0; }
  bool array() const { return (code & kArrayFlag) != 0; }
  uint32_t word() const { return (uint32_t{code} << 16) | size; }
  bool operator==(const FieldType& o) const { return code == o.code && size == o.size; }
};

// A column or dataset property. `value` holds a fixed value's bytes, a varying value's data
// without its length prefix, or an array's elements (`count` of them).
struct Property {
  std::string name;
  FieldType type;
  std::vector<uint8_t> value;
  uint32_t count = 1;
};

// Common property values.
Property UIntProperty(const std::string& name, uint16_t size, uint64_t value);
Property IntProperty(const std::string& name, uint16_t size, int64_t value);
// Varying 8-bit text with a 2-byte length that counts a trailing NUL (as SUBTYPE is stored).
Property TextProperty(const std::string& name, const std::string& text);

struct Column {
  std::string name;  // bytes of the name (ASCII or UTF-8); a FIELDNAME property replaces it
  FieldType type;
  uint16_t attributes = 0;  // hidden 1, read-only 2, required 4, link 8
  std::vector<Property> properties;

  std::wstring WideName() const;
  // The property of that name (ASCII case ignored), or nullptr.
  const Property* FindProperty(const std::string& property_name) const;
};

// Column builders (type codes with the varying flag where the type has a length prefix).
// 8-bit text: prefix 1 (2 when width > 255), property WIDTH (UINT, 2 bytes) = width in bytes.
Column ZStringColumn(const std::string& name, uint16_t width);
// UTF-16LE text: prefix 2, property WIDTH (UINT, 2 bytes) = width in bytes.
Column UnicodeColumn(const std::string& name, uint16_t width_bytes);
// Bytes with a length prefix of `prefix` bytes and, when non-empty, a SUBTYPE ("Binary",
// "Text", "WideText"...).
Column BytesColumn(const std::string& name, uint16_t prefix = 4,
                   const std::string& subtype = "Binary");
// A fixed-width column: INT or UINT of 1, 2, 4 or 8 bytes, BOOL of 2, FLOAT of 8...
Column FixedColumn(const std::string& name, TypeCode code, uint16_t size);

enum class ValueState : uint8_t {
  Present,
  Null,
  // Only in written packets: "take the value of the row before" (the reader resolves it).
  NotChanged,
  // A blob that was left out of the packet (length with the top bit set, no data).
  Delayed,
};

struct Value {
  ValueState state = ValueState::Null;
  // A fixed value's bytes (little-endian, exactly the column's size) or a varying value's
  // data without its prefix.
  std::vector<uint8_t> data;

  bool is_null() const { return state == ValueState::Null; }
};

// Value builders.
Value NullValue();
Value BytesValue(std::vector<uint8_t> bytes);
// 8-bit text as stored, no terminator.
Value ZStringValue(const std::string& bytes);
Value UnicodeValue(const std::wstring& text);
Value IntValue(int64_t value, uint16_t size);  // also for UINT, 1/2/4/8 bytes
Value BoolValue(bool value, uint16_t size = 2);

// Row status bits.
constexpr uint8_t kRowOriginal = 0x01;
constexpr uint8_t kRowDeleted = 0x02;
constexpr uint8_t kRowInserted = 0x04;
constexpr uint8_t kRowModified = 0x08;
constexpr uint8_t kRowUnused = 0x20;
constexpr uint8_t kRowDetailUpdated = 0x40;

struct Row {
  uint8_t status = 0;
  std::vector<Value> values;  // one per column

  // The row belongs to the dataset's current content: it is not the original image of a
  // modified row, not deleted and not unused.
  bool current() const { return (status & (kRowOriginal | kRowDeleted | kRowUnused)) == 0; }
};

// Packet header attribute bits.
constexpr uint32_t kPacketMetadata = 0x1;
constexpr uint32_t kPacketRowOffsetValid = 0x2;

struct Packet {
  int32_t version = 1;
  uint32_t attributes = kPacketMetadata | kPacketRowOffsetValid;  // as read; recomputed on write
  std::vector<Column> columns;
  std::vector<Property> properties;  // dataset properties
  // Every row in packet order, current or not. A column flagged "not changed" in a row holds
  // the value of the row before it (the row's earlier version) once read.
  std::vector<Row> rows;

  // Index of the column of that name (ASCII case ignored), or nothing.
  std::optional<size_t> FindColumn(const std::wstring& name) const;
  // As FindColumn; FormatError naming the field when there is none.
  size_t ColumnIndex(const std::wstring& name) const;

  // The dataset's first record: the first current row, or nullptr when there is none.
  const Row* FirstRecord() const;
  // The current rows in order.
  std::vector<const Row*> CurrentRows() const;

  // A field of a row as text (see ValueAsText); FormatError naming a missing field.
  std::wstring Text(const Row& row, const std::wstring& field, CodePage& code_page) const;
  // A field of a row as bytes (see ValueBytes).
  std::vector<uint8_t> Blob(const Row& row, const std::wstring& field) const;
  // A field of the first record as text; empty when the packet has no current row.
  std::wstring FirstRecordText(const std::wstring& field, CodePage& code_page) const;
};

// A value as text: null is empty; 8-bit text (up to its first NUL) through the code page;
// UNICODE from UTF-16LE; integers in decimal; BOOL "True"/"False"; floats; bytes through the
// code page, or as UTF-16LE when the column's SUBTYPE is WideText or WideMemo. Other types,
// and blobs left out of the packet, raise FormatError naming the column.
std::wstring ValueAsText(const Column& column, const Value& value, CodePage& code_page);
// A value's bytes: null is empty; a blob left out of the packet raises FormatError.
std::vector<uint8_t> ValueBytes(const Column& column, const Value& value);
// An INT, UINT or BOOL value as a number; FormatError for other types and for null.
int64_t ValueAsInt(const Column& column, const Value& value);

Packet ReadPacket(const uint8_t* data, size_t size);
inline Packet ReadPacket(const std::vector<uint8_t>& bytes) {
  return ReadPacket(bytes.data(), bytes.size());
}

// True when the bytes begin with the packet's magic 96 19 E0 BD.
bool LooksLikePacket(const uint8_t* data, size_t size);

// Writes the packet: header (version 1, or 2 when a type code above 11 is used; header size
// 24; attributes 3 with the first-row offset, or 1 when the metadata is too long for the
// 16-bit offset), the columns with their properties, the dataset properties and every row.
// FormatError for what cannot be written: names empty or longer than 255 bytes, a row with
// the wrong number of values, a fixed value of the wrong size, data too long for its prefix.
std::vector<uint8_t> WritePacket(const Packet& packet);

}  // namespace quillon::datasnap
