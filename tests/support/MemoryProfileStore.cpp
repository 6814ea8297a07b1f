#include "support/MemoryProfileStore.h"

#include "core/kernel/CaseInsensitiveText.h"

namespace {

std::u16string Fold(LPCWSTR text) {
  return text == nullptr ? std::u16string() : FoldCase(std::u16string_view(text, TextLength(text)));
}

std::pair<std::u16string, std::u16string> Key(LPCWSTR profile, LPCWSTR section) { return {Fold(profile), Fold(section)}; }

}  // namespace

std::optional<std::u16string> MemoryProfileStore::ReadString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry) {
  std::lock_guard lock(mutex_);
  auto it = values_.find(Key(profile, section));
  if (it == values_.end()) return std::nullopt;
  auto value = it->second.find(Fold(entry));
  if (value == it->second.end()) return std::nullopt;
  return value->second;
}

BOOL MemoryProfileStore::WriteString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
  std::lock_guard lock(mutex_);
  const auto key = Key(profile, section);
  if (entry == nullptr) {
    values_.erase(key);
  } else if (value == nullptr) {
    auto it = values_.find(key);
    if (it != values_.end()) it->second.erase(Fold(entry));
  } else {
    values_[key][Fold(entry)] = value;
  }
  return TRUE;
}

MemoryProfileStore& DefaultProfileStore() {
  static MemoryProfileStore store;
  return store;
}
