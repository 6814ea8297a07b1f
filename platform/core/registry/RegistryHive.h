// An in-memory tree of registry keys with typed values. A hive is filled once (by a test or
// by the prefix's hive reader) and then installed read-only behind HKEY_LOCAL_MACHINE.
//
// Key and value names compare without regard to ASCII letter case; each keeps the spelling
// it was first given. Value data are kept exactly as given: the registry stores bytes, so a
// string without its zero unit or an odd byte count stays what it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "windef.h"

namespace core {

class RegistryHive {
 public:
  using KeyId = std::uint32_t;
  static constexpr KeyId kRoot = 0;

  struct ValueView {
    DWORD type;
    const BYTE* data;
    std::size_t size;
  };

  RegistryHive();
  RegistryHive(const RegistryHive&) = delete;
  RegistryHive& operator=(const RegistryHive&) = delete;

  // Finds or creates the child of `parent` called `name` (one component, no "\").
  KeyId AddChild(KeyId parent, std::u16string_view name);
  // Finds or creates every key along a "\"-separated path below `from`; empty components
  // are skipped.
  KeyId AddPath(std::u16string_view path, KeyId from = kRoot);

  std::optional<KeyId> FindChild(KeyId parent, std::u16string_view name) const;
  // Empty components are skipped, so "" names `from` itself.
  std::optional<KeyId> FindPath(std::u16string_view path, KeyId from = kRoot) const;

  // Sets a value; a later value of the same name replaces an earlier one. "" is the default value.
  void SetValue(KeyId key, std::u16string_view name, DWORD type, const void* data, std::size_t size);
  // For a filler that writes a value's data in place: BeginValue returns (4-aligned) room for
  // up to `most` bytes, and EndValue records the value with the first `size` of them. Nothing
  // else may change the hive in between; a value begun and never ended leaves nothing behind.
  BYTE* BeginValue(std::u16string_view name, std::size_t most);
  void EndValue(KeyId key, DWORD type, std::size_t size);
  // Helpers for fillers: a string stored with its zero unit, and a little-endian 32-bit value.
  void SetString(KeyId key, std::u16string_view name, std::u16string_view text, DWORD type = 1);
  void SetDword(KeyId key, std::u16string_view name, DWORD value);

  // The value's data stay valid as long as the hive is not changed.
  std::optional<ValueView> FindValue(KeyId key, std::u16string_view name) const;

  std::u16string_view KeyName(KeyId key) const { return keys_[key].name; }
  std::size_t KeyCount() const { return keys_.size(); }

  // Room for a filler that knows roughly how much it will add.
  void Reserve(std::size_t keys, std::size_t values);

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  struct Key {
    std::u16string_view name;  // as first spelt, in the arena
    KeyId parent;
    std::uint32_t firstValue = kNone;
    std::uint32_t lastValue = kNone;
  };
  // A value's name and data share one block of the arena: the name's units, then the data
  // from the next multiple of 4 bytes.
  struct Value {
    const BYTE* block;
    std::uint32_t nameLength;  // in units
    std::uint32_t size;        // the platform counts value sizes in 32 bits
    DWORD type;
    std::uint32_t next;

    std::u16string_view Name() const { return {reinterpret_cast<const char16_t*>(block), nameLength}; }
    const BYTE* Data() const { return block + NameBytes(nameLength); }
  };
  // One slot of the open-addressing table of children, keyed by parent and folded name.
  struct Slot {
    std::uint32_t hash;  // the low half of the name's hash
    KeyId key = kNone;
  };

  // The bytes a name takes in a value's block, rounded up to keep the data 4-aligned.
  static std::size_t NameBytes(std::size_t units) { return (units * sizeof(char16_t) + 3) & ~std::size_t{3}; }

  // 4-aligned storage that never moves, so views into it stay valid as the hive grows.
  BYTE* Allocate(std::size_t size);
  void NewChunk(std::size_t size);
  std::u16string_view StoreName(std::u16string_view name);

  static std::uint64_t Hash(KeyId parent, std::u16string_view name);
  // The slot of the child of `parent` called `name`, or the free slot where it would go.
  std::size_t Probe(KeyId parent, std::u16string_view name, std::uint64_t hash) const;
  void Rehash(std::size_t size);  // a power of two

  std::vector<Key> keys_;
  std::vector<Value> values_;
  std::vector<Slot> slots_;  // a power of two in size, at most half full
  std::vector<std::unique_ptr<BYTE[]>> chunks_;
  BYTE* free_ = nullptr;
  BYTE* pending_ = nullptr;  // the block of the value begun
  std::uint32_t pendingNameLength_ = 0;
  std::size_t freeBytes_ = 0;
};

// Inline: the hive reader calls these once or twice for each line.
inline BYTE* RegistryHive::Allocate(std::size_t size) {
  std::size_t padding = (0 - reinterpret_cast<std::uintptr_t>(free_)) & 3;
  if (free_ == nullptr || padding + size > freeBytes_) {
    NewChunk(size);
    padding = 0;
  }
  BYTE* at = free_ + padding;
  free_ = at + size;
  freeBytes_ -= padding + size;
  return at;
}

inline BYTE* RegistryHive::BeginValue(std::u16string_view name, std::size_t most) {
  const std::size_t nameBytes = NameBytes(name.size());
  // Taken and given back at once: the block's end is only known when the value ends.
  BYTE* block = Allocate(nameBytes + most);
  free_ = block;
  freeBytes_ += nameBytes + most;
  if (!name.empty()) std::memcpy(block, name.data(), name.size() * sizeof(char16_t));
  pending_ = block;
  pendingNameLength_ = static_cast<std::uint32_t>(name.size());
  return block + nameBytes;
}

inline void RegistryHive::EndValue(KeyId key, DWORD type, std::size_t size) {
  const std::size_t used = NameBytes(pendingNameLength_) + size;
  free_ = pending_ + used;
  freeBytes_ -= used;
  // Values are appended; a lookup takes the last one of a name, so replacing costs nothing here.
  const auto index = static_cast<std::uint32_t>(values_.size());
  values_.push_back(Value{pending_, pendingNameLength_, static_cast<std::uint32_t>(size), type, kNone});
  Key& owner = keys_[key];
  if (owner.lastValue == kNone) {
    owner.firstValue = index;
  } else {
    values_[owner.lastValue].next = index;
  }
  owner.lastValue = index;
}

// Folds A-Z to a-z and leaves every other unit alone.
inline char16_t FoldAsciiCase(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Puts a hive behind HKEY_LOCAL_MACHINE; null installs an empty one. Keys opened before stay
// on the hive they were opened on.
void InstallMachineHive(std::shared_ptr<const RegistryHive> hive);
std::shared_ptr<const RegistryHive> MachineHive();

}  // namespace core
