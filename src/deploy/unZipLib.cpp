#include "deploy/unZipLib.h"

#include <zlib.h>

#include <algorithm>

#include "base/error.h"
#include "base/text.h"
#include "formats/record_format.h"

namespace quillon {

namespace {

// Deflate's greatest expansion: no deflate stream inflates to more than 1032 times its size.
constexpr size_t kMaxDeflateRatio = 1032;
// The most room made for a record's body before its bytes come out.
constexpr size_t kMaxReservedBody = size_t{256} << 20;

[[noreturn]] void Damaged(const std::wstring& name, const LocalText& detail) {
  const std::wstring quoted = name.empty() ? std::wstring() : L" \"" + name + L"\"";
  throw FormatError(LocalText{L"压缩记录" + quoted + L"已损坏：" + detail.a,
                              L"壓縮記錄" + quoted + L"已損壞：" + detail.b,
                              L"Damaged record" + quoted + L": " + detail.c});
}

// A zlib inflater (zlib header, 15-bit window) that pulls its input from a stream.
class Inflater {
 public:
  Inflater(Stream& input, const std::wstring& name) : input_(input), name_(name), in_(65536) {
    if (inflateInit2(&z_, 15) != Z_OK)
      Damaged(name_,
              {L"无法启动 zlib 解压", L"無法啟動 zlib 解壓", L"cannot start the zlib inflater"});
  }
  ~Inflater() { inflateEnd(&z_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Fills `out` with up to `count` bytes; fewer only where the zlib stream or its input ends.
  size_t Read(uint8_t* out, size_t count) {
    z_.next_out = out;
    z_.avail_out = static_cast<uInt>(count);
    while (z_.avail_out > 0 && !ended_) {
      if (z_.avail_in == 0) {
        const size_t got = input_.Read(in_.data(), in_.size());
        if (got == 0) {
          input_exhausted_ = true;
          break;
        }
        z_.next_in = in_.data();
        z_.avail_in = static_cast<uInt>(got);
      }
      const int ret = inflate(&z_, Z_NO_FLUSH);
      if (ret == Z_STREAM_END) {
        ended_ = true;
      } else if (ret != Z_OK && ret != Z_BUF_ERROR) {
        const std::wstring why = z_.msg != nullptr ? L" (" + FromUtf8(z_.msg) + L")" : L"";
        Damaged(name_, {L"zlib 数据有误" + why, L"zlib 資料有誤" + why,
                        L"the zlib data is corrupt" + why});
      }
    }
    return count - z_.avail_out;
  }

  // Reads and drops the rest of the zlib stream, so that its checksum is checked. Whatever
  // the stream holds after the body is not part of the record, but a stream cut short or
  // failing its checksum means the body itself cannot be trusted.
  void CheckToEnd() {
    uint8_t sink[4096];
    while (!ended_) {
      if (Read(sink, sizeof sink) == 0 && !ended_) {
        Damaged(name_,
                {L"zlib 数据流不完整", L"zlib 資料流不完整", L"the zlib stream is cut short"});
      }
    }
  }

  bool input_exhausted() const { return input_exhausted_; }

 private:
  Stream& input_;
  const std::wstring& name_;
  std::vector<uint8_t> in_;
  z_stream z_{};
  bool ended_ = false;
  bool input_exhausted_ = false;
};

uint32_t ReadU32(Inflater& inflater, const std::wstring& name, const LocalText& what) {
  uint8_t b[4];
  const size_t got = inflater.Read(b, 4);
  if (got != 4) {
    Damaged(name, {L"数据在" + what.a + L"处中断", L"資料在" + what.b + L"處中斷",
                   L"the data ends inside the " + what.c});
  }
  return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
}

}  // namespace

void UnZipStream(Stream& packed, Stream& output, const std::wstring& name) {
  packed.Seek(0);
  output.Seek(0);
  Inflater inflater(packed, name);

  const uint32_t tag = ReadU32(inflater, name, {L"标记", L"標記", L"tag"});
  const int32_t length =
      static_cast<int32_t>(ReadU32(inflater, name, {L"长度", L"長度", L"length"}));
  std::vector<uint8_t> buffer(kRecordCopyChunk);

  if (tag == kRecordTextMarker) {
    const uint32_t text_length =
        ReadU32(inflater, name, {L"文本块长度", L"文字區塊長度", L"text block length"});
    if (text_length > kMaxRecordTextBlock) {
      const std::wstring n = IntToText(text_length);
      Damaged(name, {L"文本块有 " + n + L" 字节，超过允许的 51201 字节",
                     L"文字區塊有 " + n + L" 位元組，超過允許的 51201 位元組",
                     L"its text block of " + n + L" bytes is longer than the 51201 bytes allowed"});
    }
    size_t left = text_length;
    while (left > 0) {
      const size_t want = std::min(left, buffer.size());
      if (inflater.Read(buffer.data(), want) != want) {
        Damaged(name, {L"数据在文本块中中断", L"資料在文字區塊中中斷",
                       L"the data ends inside the text block"});
      }
      left -= want;
    }
  }

  // The length is a claim, not a fact: the output grows only as real bytes come out. Room is
  // made up front for as much of it as the packed bytes can hold (deflate packs at most 1032
  // to 1), up to kMaxReservedBody: growing the body piece by piece copies it over and over.
  const size_t total = length > 0 ? static_cast<size_t>(length) : 0;
  const size_t packed_can_hold = packed.Size() > kMaxReservedBody / kMaxDeflateRatio
                                     ? kMaxReservedBody
                                     : packed.Size() * kMaxDeflateRatio;
  output.Reserve(std::min({total, packed_can_hold, kMaxReservedBody}));
  size_t done = 0;
  while (done < total) {
    const size_t want = std::min(total - done, buffer.size());
    const size_t got = inflater.Read(buffer.data(), want);
    output.Write(buffer.data(), got);
    done += got;
    if (got != want) {
      const std::wstring got_text = IntToText(static_cast<long long>(done));
      const std::wstring of = IntToText(length);
      Damaged(name, {L"内容只有 " + of + L" 字节中的 " + got_text + L" 字节",
                     L"內容只有 " + of + L" 位元組中的 " + got_text + L" 位元組",
                     L"the body ends after " + got_text + L" of " + of + L" bytes"});
    }
  }
  inflater.CheckToEnd();
  output.SetSize(output.Position());
}

void UnZipStreamToFile(FileSystem& fs, const std::wstring& file_name, Stream& packed,
                       const std::wstring& name) {
  MemoryStream body;
  UnZipStream(packed, body, name.empty() ? file_name : name);
  fs.WriteFile(file_name, body.Take());
}

void UnZipFile(FileSystem& fs, const std::wstring& source, const std::wstring& target) {
  MemoryStream packed(fs.ReadFile(source));
  UnZipStreamToFile(fs, target, packed, source);
}

std::vector<uint8_t> UnZipBytes(const std::vector<uint8_t>& packed, const std::wstring& name) {
  MemoryStream in;
  BytesToStream(packed, in);
  MemoryStream out;
  UnZipStream(in, out, name);
  return StreamToBytes(out);
}

void BytesToStream(const std::vector<uint8_t>& bytes, Stream& stream) {
  stream.Seek(0);
  stream.Write(bytes.data(), bytes.size());
  stream.Seek(0);
}

std::vector<uint8_t> StreamToBytes(Stream& stream) {
  std::vector<uint8_t> bytes(stream.Size());
  stream.Seek(0);
  const size_t got = stream.Read(bytes.data(), bytes.size());
  bytes.resize(got);
  return bytes;
}

}  // namespace quillon
