#include "core/RegistryHive.h"

#include <cstring>

namespace core {

namespace {

std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& unit : folded) unit = FoldAsciiCase(unit);
  return folded;
}

// Lookups fold into this buffer so that finding a key allocates nothing once it has grown.
std::u16string_view FoldInto(std::u16string& buffer, std::u16string_view name) {
  buffer.resize(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) buffer[i] = FoldAsciiCase(name[i]);
  return buffer;
}

// Calls `visit` on each non-empty "\"-separated component; stops when it returns false.
template <class Visit>
bool ForEachComponent(std::u16string_view path, Visit visit) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t stop = path.find(u'\\', start);
    if (stop == std::u16string_view::npos) stop = path.size();
    if (stop > start && !visit(path.substr(start, stop - start))) return false;
    start = stop + 1;
  }
  return true;
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

std::size_t RegistryHive::ChildHash::operator()(const ChildRef& ref) const noexcept {
  // FNV-1a over the parent and the folded units.
  std::uint64_t hash = 1469598103934665603ull ^ ref.parent;
  for (char16_t unit : ref.folded) {
    hash ^= unit;
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

RegistryHive::RegistryHive() { keys_.emplace_back(); }

void RegistryHive::Reserve(std::size_t keys, std::size_t dataBytes) {
  children_.reserve(keys);
  data_.reserve(dataBytes);
}

RegistryHive::KeyId RegistryHive::AddChild(KeyId parent, std::u16string_view name) {
  thread_local std::u16string buffer;
  if (auto found = FindFolded(parent, FoldInto(buffer, name))) return *found;
  const auto id = static_cast<KeyId>(keys_.size());
  Key& key = keys_.emplace_back();
  key.name = std::u16string(name);
  key.folded = Folded(name);
  children_.emplace(ChildRef{parent, key.folded}, id);
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

std::optional<RegistryHive::KeyId> RegistryHive::FindFolded(KeyId parent, std::u16string_view folded) const {
  auto found = children_.find(ChildRef{parent, folded});
  if (found == children_.end()) return std::nullopt;
  return found->second;
}

std::optional<RegistryHive::KeyId> RegistryHive::FindChild(KeyId parent, std::u16string_view name) const {
  thread_local std::u16string buffer;
  return FindFolded(parent, FoldInto(buffer, name));
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
  Value value;
  value.nameOffset = names_.size();
  value.nameLength = name.size();
  names_.insert(names_.end(), name.begin(), name.end());
  value.dataOffset = data_.size();
  value.dataLength = size;
  const BYTE* bytes = static_cast<const BYTE*>(data);
  data_.insert(data_.end(), bytes, bytes + size);
  value.type = type;
  value.next = kNone;

  // Values are appended; a lookup takes the last one of a name, so replacing costs nothing here.
  const auto index = static_cast<std::uint32_t>(values_.size());
  values_.push_back(value);
  Key& owner = keys_[key];
  if (owner.lastValue == kNone) {
    owner.firstValue = index;
  } else {
    values_[owner.lastValue].next = index;
  }
  owner.lastValue = index;
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
    const Value& value = values_[i];
    if (EqualsIgnoringAsciiCase(std::u16string_view(names_.data() + value.nameOffset, value.nameLength), name)) {
      match = &value;
    }
  }
  if (match == nullptr) return std::nullopt;
  return ValueView{match->type, data_.data() + match->dataOffset, match->dataLength};
}

}  // namespace core
