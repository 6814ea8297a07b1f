#include "core/registry/RegistryHive.h"

#include <algorithm>
#include <cstring>

namespace core {

namespace {

constexpr std::size_t kChunkBytes = 256 * 1024;
constexpr std::uint64_t kSpread = 0x9E3779B97F4A7C15ull;  // 2^64 over the golden ratio

// Multiplies to 128 bits and folds the halves: every bit of the result depends on every bit
// of both inputs, the low ones (which pick a slot) included.
std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  const unsigned __int128 product = static_cast<unsigned __int128>(a ^ kSpread) * (b ^ 0xE7037ED1A0B428DBull);
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
#else
  const std::uint64_t product = (a ^ kSpread) * (b | 1);
  return product ^ (product >> 29) ^ (product << 35);
#endif
}

// Calls `visit` on each non-empty "\"-separated component; stops when it returns false.
template <class Visit>
void ForEachComponent(std::u16string_view path, Visit visit) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t stop = path.find(u'\\', start);
    if (stop == std::u16string_view::npos) stop = path.size();
    if (stop > start && !visit(path.substr(start, stop - start))) return;
    start = stop + 1;
  }
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;  // an empty view may have no storage at all
  // Equal spellings are the usual case; compare them as bytes first.
  if (std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

RegistryHive::RegistryHive() {
  keys_.push_back(Key{std::u16string_view(), kRoot});
  slots_.resize(64);
}

void RegistryHive::Reserve(std::size_t keys, std::size_t values) {
  keys_.reserve(keys);
  values_.reserve(values);
  std::size_t size = slots_.size();
  while (size < 2 * keys) size *= 2;
  if (size != slots_.size()) Rehash(size);
}

void RegistryHive::NewChunk(std::size_t size) {
  // new[] aligns a chunk for any alignment used here.
  const std::size_t chunk = std::max(kChunkBytes, size);
  chunks_.push_back(std::unique_ptr<BYTE[]>(new BYTE[chunk]));  // filled before it is read
  free_ = chunks_.back().get();
  freeBytes_ = chunk;
}

std::u16string_view RegistryHive::StoreName(std::u16string_view name) {
  auto* stored = reinterpret_cast<char16_t*>(Allocate(name.size() * sizeof(char16_t)));
  if (!name.empty()) std::memcpy(stored, name.data(), name.size() * sizeof(char16_t));
  return std::u16string_view(stored, name.size());
}

// Four units at a time. Setting bit 0x20 of every unit gives both cases of an ASCII letter one
// value, so names that compare equal hash alike; the few other pairs it joins (such as "@" and
// "`") only cost a comparison.
std::uint64_t RegistryHive::Hash(KeyId parent, std::u16string_view name) {
  constexpr std::uint64_t kFold = 0x0020002000200020ull;
  std::uint64_t hash = Mix(parent, name.size());
  const char16_t* unit = name.data();
  std::size_t left = name.size();
  for (; left >= 4; unit += 4, left -= 4) {
    std::uint64_t word;
    std::memcpy(&word, unit, sizeof word);
    hash = Mix(hash ^ (word | kFold), kSpread);
  }
  if (left != 0) {
    // Gathered in a register: a short copy into a word in memory could not be forwarded to
    // the load that follows it.
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < left; ++i) word |= std::uint64_t{unit[i]} << (16 * i);
    hash = Mix(hash ^ (word | kFold), kSpread);
  }
  return hash;
}

std::size_t RegistryHive::Probe(KeyId parent, std::u16string_view name, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.key == kNone) return i;
    if (slot.hash == static_cast<std::uint32_t>(hash)) {
      const Key& key = keys_[slot.key];
      if (key.parent == parent && EqualsIgnoringAsciiCase(key.name, name)) return i;
    }
  }
}

void RegistryHive::Rehash(std::size_t size) {
  std::vector<Slot> old(size);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.key == kNone) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].key != kNone) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

RegistryHive::KeyId RegistryHive::AddChild(KeyId parent, std::u16string_view name) {
  const std::uint64_t hash = Hash(parent, name);
  // One probe both searches and, when the child is new, finds its slot.
  const std::size_t slot = Probe(parent, name, hash);
  if (slots_[slot].key != kNone) return slots_[slot].key;
  const auto id = static_cast<KeyId>(keys_.size());
  Key& key = keys_.emplace_back();  // filled in place
  key.name = StoreName(name);
  key.parent = parent;
  slots_[slot] = Slot{static_cast<std::uint32_t>(hash), id};
  // Kept at most half full, so a probe ends soon and always finds a free slot.
  if (2 * keys_.size() > slots_.size()) Rehash(2 * slots_.size());
  return id;
}

RegistryHive::KeyId RegistryHive::AddPath(std::u16string_view path, KeyId from) {
  KeyId current = from;
  ForEachComponent(path, [&](std::u16string_view name) {
    current = AddChild(current, name);
    return true;
  });
  return current;
}

std::optional<RegistryHive::KeyId> RegistryHive::FindChild(KeyId parent, std::u16string_view name) const {
  const KeyId found = slots_[Probe(parent, name, Hash(parent, name))].key;
  if (found == kNone) return std::nullopt;
  return found;
}

std::optional<RegistryHive::KeyId> RegistryHive::FindPath(std::u16string_view path, KeyId from) const {
  std::optional<KeyId> current = from;
  ForEachComponent(path, [&](std::u16string_view name) {
    current = FindChild(*current, name);
    return current.has_value();
  });
  return current;
}

void RegistryHive::SetValue(KeyId key, std::u16string_view name, DWORD type, const void* data, std::size_t size) {
  BYTE* room = BeginValue(name, size);
  if (size != 0) std::memcpy(room, data, size);
  EndValue(key, type, size);
}

void RegistryHive::SetString(KeyId key, std::u16string_view name, std::u16string_view text, DWORD type) {
  std::u16string terminated(text);
  terminated.push_back(u'\0');
  SetValue(key, name, type, terminated.data(), terminated.size() * sizeof(char16_t));
}

void RegistryHive::SetDword(KeyId key, std::u16string_view name, DWORD value) {
  const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                         static_cast<BYTE>(value >> 24)};
  SetValue(key, name, 4, bytes, sizeof bytes);
}

std::optional<RegistryHive::ValueView> RegistryHive::FindValue(KeyId key, std::u16string_view name) const {
  const Value* match = nullptr;
  for (std::uint32_t i = keys_[key].firstValue; i != kNone; i = values_[i].next) {
    if (EqualsIgnoringAsciiCase(values_[i].Name(), name)) match = &values_[i];
  }
  if (match == nullptr) return std::nullopt;
  return ValueView{match->type, match->Data(), match->size};
}

}  // namespace core
