// Compressed records: the writer, the unpacking operations of unZipLib and their mends
// (damaged records never yield a short body, claimed sizes are not trusted).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/stream.h"
#include "deploy/unZipLib.h"
#include "formats/record_writer.h"
#include "platform/fake/fake_file_system.h"

namespace quillon {
namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes Pattern(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return b;
}

// The decompressed layout written by hand, so that lengths may lie.
Bytes RawRecord(uint32_t tag, uint32_t length, std::optional<size_t> text_block, const Bytes& body,
                const Bytes& trailing = {}) {
  Bytes raw;
  PutU32(raw, tag);
  PutU32(raw, length);
  if (text_block) {
    PutU32(raw, static_cast<uint32_t>(*text_block));
    raw.insert(raw.end(), *text_block, 'T');
  }
  raw.insert(raw.end(), body.begin(), body.end());
  raw.insert(raw.end(), trailing.begin(), trailing.end());
  return raw;
}

std::string ErrorOf(const Bytes& packed) {
  try {
    UnZipBytes(packed, L"K1.dat");
  } catch (const FormatError& e) {
    return e.what();
  }
  return "(no error)";
}

const Bytes kStampLine = [] {
  const std::string line = "UpdateDateTime=20150527213310640\r\n";
  return Bytes(line.begin(), line.end());
}();

TEST(RecordFormat, StampfileRecordAsTheStoreHoldsIt) {
  const Bytes packed = WriteRecord(kStampLine);
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(packed[0], 0x78);  // fastest level, as the store's blobs
  EXPECT_EQ(packed[1], 0x01);
  // tag 88 (about 2.6 times 34), then the length
  Bytes expected_raw = RawRecord(88, 34, std::nullopt, kStampLine);
  EXPECT_EQ(UnZipBytes(ZlibCompress(expected_raw)), kStampLine);
  EXPECT_EQ(packed, ZlibCompress(expected_raw));
  EXPECT_EQ(UnZipBytes(packed), kStampLine);
}

struct BodyCase {
  const char* name;
  Bytes raw;
  Bytes body;
};

TEST(RecordFormat, BodiesOfValidRecords) {
  const Bytes body = Pattern(1000);
  const BodyCase cases[] = {
      {"no text block", RawRecord(5, 1000, std::nullopt, body), body},
      {"empty text block", RawRecord(kRecordTextMarker, 1000, 0, body), body},
      {"text block of 1", RawRecord(kRecordTextMarker, 1000, 1, body), body},
      {"text block of 51201", RawRecord(kRecordTextMarker, 1000, 51201, body), body},
      {"length 0", RawRecord(5, 0, std::nullopt, {}), {}},
      {"length 0 with bytes after", RawRecord(5, 0, std::nullopt, body), {}},
      {"length 51200 (one piece)", RawRecord(5, 51200, std::nullopt, Pattern(51200)),
       Pattern(51200)},
      {"length 51201 (two pieces)", RawRecord(5, 51201, std::nullopt, Pattern(51201)),
       Pattern(51201)},
      {"length 102401", RawRecord(5, 102401, std::nullopt, Pattern(102401)), Pattern(102401)},
      {"negative length -1", RawRecord(5, 0xFFFFFFFF, std::nullopt, body), {}},
      {"length with the top bit set", RawRecord(5, 0x80000000, std::nullopt, body), {}},
      {"trailing bytes after the body", RawRecord(5, 10, std::nullopt, Pattern(10), Pattern(99)),
       Pattern(10)},
      {"marker-like tag minus one",
       RawRecord(kRecordTextMarker - 1, 3, std::nullopt, {1, 2, 3}),
       {1, 2, 3}},
  };
  for (const BodyCase& c : cases) {
    for (int level : {0, 1, 9}) {
      EXPECT_EQ(UnZipBytes(ZlibCompress(c.raw, level)), c.body) << c.name << " level " << level;
    }
  }
}

TEST(RecordFormat, DamagedRecordsAreErrorsNamingTheRecord) {
  const Bytes body = Pattern(100);
  Bytes whole = ZlibCompress(RawRecord(5, 100, std::nullopt, body));
  Bytes cut_stream(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2));
  Bytes bad_checksum = whole;
  bad_checksum.at(bad_checksum.size() - 1) ^= 0x01;
  Bytes corrupt = whole;
  corrupt.at(5) ^= 0xFF;
  struct Case {
    const char* name;
    Bytes packed;
    const char* message;
  } cases[] = {
      {"body shorter than its length", ZlibCompress(RawRecord(5, 100, std::nullopt, Pattern(50))),
       "the body ends after 50 of 100 bytes"},
      {"huge claimed length", ZlibCompress(RawRecord(5, 0x7FFFFFFF, std::nullopt, Pattern(10))),
       "the body ends after 10 of 2147483647 bytes"},
      {"no length", ZlibCompress({1, 2, 3, 4, 5, 6}), "ends inside the length"},
      {"empty stream", ZlibCompress({}), "ends inside the tag"},
      {"text block of 51202", ZlibCompress(RawRecord(kRecordTextMarker, 3, 51202, {1, 2, 3})),
       "text block of 51202 bytes"},
      {"no text block length", ZlibCompress(RawRecord(kRecordTextMarker, 0, std::nullopt, {})),
       "ends inside the text block length"},
      {"text block cut short",
       [] {
         Bytes raw = RawRecord(kRecordTextMarker, 0, 100, {});
         raw.resize(raw.size() - 10);
         return ZlibCompress(raw);
       }(),
       "ends inside the text block"},
      {"zlib stream cut in half", cut_stream, "Damaged record \"K1.dat\""},
      {"checksum wrong", bad_checksum, "Damaged record \"K1.dat\""},
      {"corrupt deflate data", corrupt, "Damaged record \"K1.dat\""},
      {"not zlib at all", Bytes{'h', 'e', 'l', 'l', 'o'}, "Damaged record \"K1.dat\""},
      {"no bytes", Bytes{}, "Damaged record \"K1.dat\""},
  };
  for (const Case& c : cases) {
    const std::string error = ErrorOf(c.packed);
    EXPECT_NE(error.find("Damaged record \"K1.dat\""), std::string::npos)
        << c.name << ": " << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
  }
}

TEST(RecordFormat, UnZipStreamLeavesExactlyTheBodyInAnUsedStream) {
  const Bytes packed = WriteRecord({1, 2, 3});
  MemoryStream in(packed);
  in.Seek(in.Size());  // unpacking starts at the beginning whatever the position
  MemoryStream out(Bytes(50, 0xEE));
  UnZipStream(in, out);
  EXPECT_EQ(out.bytes(), (Bytes{1, 2, 3}));
  EXPECT_EQ(out.Position(), 3u);
}

// The room made for a body before its bytes come out: the claimed length, as far as the packed
// bytes could inflate to (1032 to 1 at most), so that a false claim costs no memory.
TEST(RecordFormat, RoomMadeUpFrontIsBoundByThePackedSize) {
  class RecordingStream : public MemoryStream {
   public:
    void Reserve(size_t count) override {
      reserved = count;
      MemoryStream::Reserve(count);
    }
    size_t reserved = 0;
  };
  const Bytes huge_claim = ZlibCompress(RawRecord(5, 0x7FFFFFFF, std::nullopt, Pattern(10)));
  struct Case {
    const char* name;
    Bytes packed;
    size_t reserved;
  } cases[] = {
      {"true claim", WriteRecord(Pattern(70000)), 70000},
      {"huge claim", huge_claim, huge_claim.size() * 1032},
      {"negative claim", ZlibCompress(RawRecord(5, 0xFFFFFFFF, std::nullopt, {})), 0},
  };
  for (Case& c : cases) {
    MemoryStream in(c.packed);
    RecordingStream out;
    try {
      UnZipStream(in, out);
    } catch (const FormatError&) {
      // The huge claim is a damaged record; the room was made before that showed.
    }
    EXPECT_EQ(out.reserved, c.reserved) << c.name;
  }
}

TEST(RecordFormat, UnpacksFromAReadOnlyView) {
  const Bytes packed = WriteRecord(Pattern(70000));
  ReadOnlyViewStream in(packed.data(), packed.size());
  MemoryStream out;
  UnZipStream(in, out, L"TABVO1DLL");
  EXPECT_EQ(out.bytes(), Pattern(70000));
  EXPECT_THROW(in.Write("x", 1), Error);
}

TEST(RecordFormat, FileFormsWriteOnlyWholeBodies) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\in\\good.dat", WriteRecord(kStampLine));
  fs.AddFile(L"C:\\in\\short.dat", ZlibCompress(RawRecord(5, 100, std::nullopt, Pattern(40))));
  fs.AddFile(L"C:\\out\\old.txt", std::string("old content"));

  UnZipFile(fs, L"C:\\in\\good.dat", L"C:\\out\\Stampfile.INI");
  EXPECT_EQ(fs.Contents(L"C:\\out\\Stampfile.INI"), kStampLine);

  // A damaged record names its source and leaves the target as it was (here: absent).
  try {
    UnZipFile(fs, L"C:\\in\\short.dat", L"C:\\out\\new.dll");
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find("Damaged record \"C:\\in\\short.dat\""), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(fs.FileExists(L"C:\\out\\new.dll"));

  // The stream form names the target when the record's own name is not given, and does not
  // touch an existing file.
  MemoryStream bad(ZlibCompress(RawRecord(5, 100, std::nullopt, Pattern(40))));
  try {
    UnZipStreamToFile(fs, L"C:\\out\\old.txt", bad);
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find("C:\\out\\old.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(fs.Text(L"C:\\out\\old.txt"), "old content");

  // Replacing an existing file.
  MemoryStream good(WriteRecord({9, 8, 7}));
  UnZipStreamToFile(fs, L"C:\\out\\old.txt", good, L"OLDTXT");
  EXPECT_EQ(fs.Contents(L"C:\\out\\old.txt"), (Bytes{9, 8, 7}));
}

TEST(RecordFormat, NestedRecordsUnpackLevelByLevel) {
  const Bytes png = {0x89, 'P', 'N', 'G', 1, 2, 3};
  const Bytes twice = WriteRecord(WriteRecord(png));
  EXPECT_EQ(UnZipBytes(UnZipBytes(twice)), png);
}

TEST(RecordWriter, TagsAndTextBlocks) {
  EXPECT_EQ(DefaultRecordTag(34), 88u);
  EXPECT_EQ(DefaultRecordTag(0), 0u);
  // 474833804 * 2.6 would be the marker itself.
  EXPECT_NE(DefaultRecordTag(474833804), kRecordTextMarker);

  // The writer lays out exactly what the reader expects (RawRecord fills text with 'T').
  RecordOptions with_text;
  with_text.text_block = std::string(51201, 'T');
  EXPECT_EQ(WriteRecord(Pattern(10), with_text),
            ZlibCompress(RawRecord(kRecordTextMarker, 10, 51201, Pattern(10))));
  EXPECT_EQ(UnZipBytes(WriteRecord(Pattern(10), with_text)), Pattern(10));

  RecordOptions marker_only;
  marker_only.tag = kRecordTextMarker;
  EXPECT_EQ(WriteRecord({1}, marker_only), ZlibCompress(RawRecord(kRecordTextMarker, 1, 0, {1})));

  RecordOptions custom;
  custom.tag = 7;
  custom.level = 9;
  EXPECT_EQ(WriteRecord({1}, custom), ZlibCompress(RawRecord(7, 1, std::nullopt, {1}), 9));

  RecordOptions too_long;
  too_long.text_block = std::string(51202, 'x');
  EXPECT_THROW(WriteRecord({1}, too_long), FormatError);
  RecordOptions wrong_tag = with_text;
  wrong_tag.tag = 5;
  EXPECT_THROW(WriteRecord({1}, wrong_tag), FormatError);
  RecordOptions bad_level;
  bad_level.level = 10;
  EXPECT_THROW(WriteRecord({1}, bad_level), FormatError);
}

TEST(RecordFormat, BytesAndStreams) {
  MemoryStream s(Bytes{9, 9, 9, 9, 9});
  s.Seek(3);
  BytesToStream({1, 2}, s);
  EXPECT_EQ(s.Position(), 0u);
  EXPECT_EQ(StreamToBytes(s), (Bytes{1, 2, 9, 9, 9}));  // not cut first, as documented
}

}  // namespace
}  // namespace quillon
