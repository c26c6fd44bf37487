#include "formats/pe_resources.h"

#include <optional>

#include "base/error.h"
#include "formats/pe_header.h"

namespace quillon {

namespace {

class Image {
 public:
  explicit Image(const std::vector<uint8_t>& b) : b_(b) {}
  bool Has(uint64_t at, uint64_t n) const { return at <= b_.size() && b_.size() - at >= n; }
  uint32_t U16(uint64_t at) const {
    Need(at, 2);
    return b_[at] | (b_[at + 1] << 8);
  }
  uint32_t U32(uint64_t at) const {
    Need(at, 4);
    return U16(at) | (U16(at + 2) << 16);
  }
  void Need(uint64_t at, uint64_t n) const {
    if (!Has(at, n))
      throw FormatError(L"The program file is damaged: its resources run past its end");
  }
  const std::vector<uint8_t>& bytes() const { return b_; }

 private:
  const std::vector<uint8_t>& b_;
};

struct Section {
  uint32_t rva, size, raw, raw_size;
};

class Reader {
 public:
  Reader(const Image& image, std::vector<Section> sections, uint64_t root)
      : image_(image), sections_(std::move(sections)), root_(root) {}

  void Walk(std::vector<PeResource>& out) { Directory(0, 0, PeResource{}, out); }

 private:
  std::wstring NameOf(uint32_t field) {
    if (!(field & 0x80000000u)) return L"#" + std::to_wstring(field & 0xFFFF);
    const uint64_t at = root_ + (field & 0x7FFFFFFFu);
    const uint32_t length = image_.U16(at);
    image_.Need(at + 2, 2ull * length);
    std::wstring name;
    for (uint32_t i = 0; i < length; ++i) name += static_cast<wchar_t>(image_.U16(at + 2 + 2 * i));
    return name;
  }

  uint64_t FileOffset(uint32_t rva, uint32_t size) {
    for (const Section& s : sections_) {
      if (rva >= s.rva &&
          static_cast<uint64_t>(rva) + size <= static_cast<uint64_t>(s.rva) + s.raw_size) {
        return static_cast<uint64_t>(s.raw) + (rva - s.rva);
      }
    }
    throw FormatError(L"The program file is damaged: a resource lies outside its sections");
  }

  void Directory(uint32_t offset, int level, PeResource current, std::vector<PeResource>& out) {
    // Three levels, each directory visited once: a loop in a damaged file ends here.
    if (level > 2 || ++visited_ > 100000)
      throw FormatError(L"The program file is damaged: its resource directory is malformed");
    const uint64_t at = root_ + offset;
    const uint32_t named = image_.U16(at + 12), numbered = image_.U16(at + 14);
    for (uint32_t i = 0; i < named + numbered; ++i) {
      const uint64_t entry = at + 16 + 8ull * i;
      const uint32_t name_field = image_.U32(entry);
      const uint32_t target = image_.U32(entry + 4);
      PeResource next = current;
      if (level == 0) next.type = NameOf(name_field);
      if (level == 1) next.name = NameOf(name_field);
      if (level == 2) next.language = static_cast<uint16_t>(name_field & 0xFFFF);
      if (target & 0x80000000u) {
        Directory(target & 0x7FFFFFFFu, level + 1, next, out);
      } else {
        if (level != 2)
          throw FormatError(L"The program file is damaged: its resource directory is malformed");
        const uint64_t data_entry = root_ + target;
        const uint32_t rva = image_.U32(data_entry), size = image_.U32(data_entry + 4);
        const uint64_t from = FileOffset(rva, size);
        image_.Need(from, size);
        next.data.assign(image_.bytes().begin() + from, image_.bytes().begin() + from + size);
        out.push_back(std::move(next));
      }
    }
  }

  const Image& image_;
  std::vector<Section> sections_;
  uint64_t root_;
  int visited_ = 0;
};

}  // namespace

std::vector<PeResource> ReadPeResources(const std::vector<uint8_t>& bytes) {
  const std::optional<uint32_t> sig = PeSignatureOffset(bytes);
  if (!sig || !PeMachine(bytes)) throw FormatError(L"The file is not a Windows program");
  const Image image(bytes);
  const uint64_t coff = *sig + 4ull;
  const uint32_t section_count = image.U16(coff + 2);
  const uint32_t optional_size = image.U16(coff + 16);
  const uint64_t opt = coff + 20;
  const uint32_t magic = image.U16(opt);
  // The data directories follow the fixed part of the optional header: 96 bytes for PE32,
  // 112 for PE32+.
  const uint64_t dirs = opt + (magic == 0x20B ? 112 : 96);
  const uint32_t dir_count = image.U32(dirs - 4);
  std::vector<Section> sections;
  const uint64_t table = opt + optional_size;
  for (uint32_t i = 0; i < section_count; ++i) {
    const uint64_t s = table + 40ull * i;
    sections.push_back({image.U32(s + 12), image.U32(s + 8), image.U32(s + 20), image.U32(s + 16)});
  }
  if (dir_count < 3) return {};
  const uint32_t rsrc_rva = image.U32(dirs + 2 * 8), rsrc_size = image.U32(dirs + 2 * 8 + 4);
  if (rsrc_rva == 0 || rsrc_size == 0) return {};
  uint64_t root = 0;
  bool found = false;
  for (const Section& s : sections) {
    if (rsrc_rva >= s.rva && rsrc_rva < static_cast<uint64_t>(s.rva) + s.raw_size) {
      root = static_cast<uint64_t>(s.raw) + (rsrc_rva - s.rva);
      found = true;
    }
  }
  if (!found)
    throw FormatError(L"The program file is damaged: its resources lie outside its sections");
  std::vector<PeResource> out;
  Reader(image, sections, root).Walk(out);
  return out;
}

}  // namespace quillon
