#include "core/kernel/VersionBlock.h"

#include <cstring>

namespace core {

namespace {

WORD ReadWord(const BYTE* at) { return static_cast<WORD>(at[0] | (at[1] << 8)); }

constexpr char16_t kKey[] = u"VS_VERSION_INFO";
constexpr std::size_t kKeyOffset = 6;
constexpr std::size_t kKeyBytes = sizeof kKey;  // with its zero unit
constexpr std::size_t kValueOffset = (kKeyOffset + kKeyBytes + 3) & ~std::size_t{3};

}  // namespace

const VS_FIXEDFILEINFO* FindFixedFileInfo(const BYTE* block, std::size_t size) {
  if (block == nullptr || size < kValueOffset + sizeof(VS_FIXEDFILEINFO)) return nullptr;
  const std::size_t length = ReadWord(block);
  const std::size_t valueLength = ReadWord(block + 2);
  if (length > size || valueLength != sizeof(VS_FIXEDFILEINFO) || kValueOffset + valueLength > length) return nullptr;
  for (std::size_t i = 0; i < kKeyBytes / 2; ++i) {
    if (ReadWord(block + kKeyOffset + 2 * i) != kKey[i]) return nullptr;
  }
  // The record is read in place, as the platform hands it out; the block is 4-byte aligned
  // when it comes from an allocation.
  const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(block + kValueOffset);
  DWORD signature;
  std::memcpy(&signature, &info->dwSignature, sizeof signature);
  return signature == VS_FFI_SIGNATURE ? info : nullptr;
}

}  // namespace core
