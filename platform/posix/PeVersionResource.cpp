#include "posix/PeVersionResource.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "winerror.h"

namespace posix {

namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint16_t kPe32 = 0x10b;
constexpr std::uint16_t kPe32Plus = 0x20b;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;

// Every read is checked against the file's end: the tables are input, not trusted.
class Image {
 public:
  Image(const BYTE* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

  bool Has(std::size_t offset, std::size_t length) const { return offset <= size_ && length <= size_ - offset; }
  std::uint16_t U16(std::size_t offset) const { return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8); }
  std::uint32_t U32(std::size_t offset) const {
    return static_cast<std::uint32_t>(bytes_[offset]) | static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 | static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
  }
  const BYTE* At(std::size_t offset) const { return bytes_ + offset; }

 private:
  const BYTE* bytes_;
  std::size_t size_;
};

struct Section {
  std::uint32_t virtualAddress;
  std::uint32_t virtualSize;
  std::uint32_t rawSize;
  std::uint32_t rawOffset;
};

class PeFile {
 public:
  explicit PeFile(const Image& image) : image_(image) {}

  // Reads the headers; false when the bytes are no PE file.
  bool Open() {
    if (!image_.Has(0, 0x40) || image_.U16(0) != 0x5A4D) return false;  // "MZ"
    const std::size_t pe = image_.U32(0x3C);
    if (!image_.Has(pe, 24) || image_.U32(pe) != 0x00004550) return false;  // "PE\0\0"
    const std::size_t sectionCount = image_.U16(pe + 6);
    const std::size_t optionalSize = image_.U16(pe + 20);
    const std::size_t optional = pe + 24;
    if (!image_.Has(optional, optionalSize) || optionalSize < 2) return false;
    const std::uint16_t magic = image_.U16(optional);
    std::size_t countOffset;
    if (magic == kPe32) {
      countOffset = 92;
    } else if (magic == kPe32Plus) {
      countOffset = 108;
    } else {
      return false;
    }
    if (optionalSize < countOffset + 4) return false;
    const std::uint32_t directoryCount = image_.U32(optional + countOffset);
    const std::size_t directory = optional + countOffset + 4 + 8 * kResourceDirectory;
    if (directoryCount > kResourceDirectory && directory + 8 <= optional + optionalSize) {
      resourceRva_ = image_.U32(directory);
      resourceSize_ = image_.U32(directory + 4);
    }
    const std::size_t table = optional + optionalSize;
    if (!image_.Has(table, 40 * sectionCount)) return false;
    for (std::size_t i = 0; i < sectionCount; ++i) {
      const std::size_t at = table + 40 * i;
      sections_.push_back(Section{image_.U32(at + 12), image_.U32(at + 8), image_.U32(at + 16), image_.U32(at + 20)});
    }
    return true;
  }

  bool HasResources() const { return resourceRva_ != 0 && resourceSize_ != 0; }
  std::uint32_t ResourceRva() const { return resourceRva_; }

  // The file offset of `length` bytes at a virtual address, when a section holds them.
  std::optional<std::size_t> OffsetOf(std::uint64_t rva, std::size_t length) const {
    for (const Section& section : sections_) {
      if (rva < section.virtualAddress) continue;
      const std::uint64_t within = rva - section.virtualAddress;
      if (within + length > section.rawSize) continue;
      const std::uint64_t offset = section.rawOffset + within;
      if (!image_.Has(static_cast<std::size_t>(offset), length)) return std::nullopt;
      return static_cast<std::size_t>(offset);
    }
    return std::nullopt;
  }

 private:
  const Image& image_;
  std::uint32_t resourceRva_ = 0;
  std::uint32_t resourceSize_ = 0;
  std::vector<Section> sections_;
};

struct Entry {
  std::uint32_t name;
  std::uint32_t target;
};

// The entries of the resource directory at `offset` (relative to the resource section's start).
std::optional<std::vector<Entry>> ReadDirectory(const Image& image, const PeFile& pe, std::uint32_t offset) {
  const std::optional<std::size_t> at = pe.OffsetOf(std::uint64_t{pe.ResourceRva()} + offset, 16);
  if (!at) return std::nullopt;
  const std::size_t count = std::size_t{image.U16(*at + 12)} + image.U16(*at + 14);
  const std::optional<std::size_t> entries = pe.OffsetOf(std::uint64_t{pe.ResourceRva()} + offset + 16, 8 * count);
  if (!entries) return std::nullopt;
  std::vector<Entry> result;
  for (std::size_t i = 0; i < count; ++i) {
    result.push_back(Entry{image.U32(*entries + 8 * i), image.U32(*entries + 8 * i + 4)});
  }
  return result;
}

// The entry with the numeric ID `id`, else the first one when `orFirst`.
const Entry* Choose(const std::vector<Entry>& entries, std::uint32_t id, bool orFirst) {
  for (const Entry& entry : entries) {
    if (entry.name == id) return &entry;
  }
  return orFirst && !entries.empty() ? &entries.front() : nullptr;
}

}  // namespace

bool FindPeVersionResource(const BYTE* file, std::size_t size, std::vector<BYTE>& resource, DWORD& error) {
  const Image image(file, size);
  PeFile pe(image);
  if (!pe.Open()) {
    error = ERROR_RESOURCE_DATA_NOT_FOUND;
    return false;
  }
  error = ERROR_RESOURCE_TYPE_NOT_FOUND;
  if (!pe.HasResources()) return false;

  // Three levels: type, name, language. Each step must lead to the kind of entry the next
  // level expects, so a table that loops is never followed round.
  std::optional<std::vector<Entry>> types = ReadDirectory(image, pe, 0);
  if (!types) return (error = ERROR_RESOURCE_DATA_NOT_FOUND), false;
  const Entry* type = Choose(*types, kVersionType, false);
  if (type == nullptr) return false;
  if ((type->target & kSubdirectoryBit) == 0) return (error = ERROR_RESOURCE_DATA_NOT_FOUND), false;

  std::optional<std::vector<Entry>> names = ReadDirectory(image, pe, type->target & ~kSubdirectoryBit);
  const Entry* name = names ? Choose(*names, 1, true) : nullptr;
  if (name == nullptr || (name->target & kSubdirectoryBit) == 0) return (error = ERROR_RESOURCE_DATA_NOT_FOUND), false;

  std::optional<std::vector<Entry>> languages = ReadDirectory(image, pe, name->target & ~kSubdirectoryBit);
  const Entry* language = languages ? Choose(*languages, 0, true) : nullptr;
  if (language == nullptr || (language->target & kSubdirectoryBit) != 0) {
    return (error = ERROR_RESOURCE_DATA_NOT_FOUND), false;
  }

  const std::optional<std::size_t> dataEntry = pe.OffsetOf(std::uint64_t{pe.ResourceRva()} + language->target, 16);
  if (!dataEntry) return (error = ERROR_RESOURCE_DATA_NOT_FOUND), false;
  const std::uint32_t dataRva = image.U32(*dataEntry);
  const std::uint32_t dataSize = image.U32(*dataEntry + 4);
  const std::optional<std::size_t> data = pe.OffsetOf(dataRva, dataSize);
  if (!data || dataSize == 0) return (error = ERROR_RESOURCE_DATA_NOT_FOUND), false;
  resource.assign(image.At(*data), image.At(*data) + dataSize);
  return true;
}

}  // namespace posix
