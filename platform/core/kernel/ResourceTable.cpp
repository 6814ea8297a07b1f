// The modules' resource tables. An entry is found by type, name and language the way the
// platform's loader finds resources: numbers as numbers, texts without regard to letter case,
// "#123" as the number 123.
#include "resourcetable.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/kernel/CaseInsensitiveText.h"
#include "core/kernel/KnownMemory.h"
#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "winerror.h"

namespace {

// A resource identifier: a number, or a name kept folded for comparison.
struct ResourceId {
  std::optional<WORD> number;
  std::u16string foldedName;

  bool operator==(const ResourceId& other) const {
    return number == other.number && (number.has_value() || foldedName == other.foldedName);
  }
};

std::optional<ResourceId> ToId(LPCWSTR id) {
  if (id == nullptr) return std::nullopt;
  if (IS_INTRESOURCE(id)) return ResourceId{static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id)), {}};
  std::u16string_view text(id, TextLength(id));
  if (text.size() > 1 && text[0] == u'#') {
    unsigned long value = 0;
    for (char16_t c : text.substr(1)) {
      if (c < u'0' || c > u'9') return ResourceId{std::nullopt, FoldCase(text)};
      value = value * 10 + (c - u'0');
      if (value > 0xFFFF) return ResourceId{std::nullopt, FoldCase(text)};
    }
    return ResourceId{static_cast<WORD>(value), {}};
  }
  return ResourceId{std::nullopt, FoldCase(text)};
}

struct Resource {
  HMODULE module;
  ResourceId type;
  ResourceId name;
  WORD language;
  const void* data;
  DWORD size;
};

struct ResourceTables {
  std::mutex mutex;
  // Entries are never removed, so an HRSRC (the entry's address) stays valid.
  std::vector<std::unique_ptr<Resource>> resources;
};

ResourceTables& Tables() {
  static ResourceTables tables;
  return tables;
}

HMODULE Normalise(HMODULE module) { return module == nullptr ? GetModuleHandleW(nullptr) : module; }

Resource* Lookup(HMODULE module, LPCWSTR type, LPCWSTR name, std::optional<WORD> language) {
  const auto typeId = ToId(type);
  const auto nameId = ToId(name);
  if (!typeId || !nameId) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  module = Normalise(module);
  ResourceTables& tables = Tables();
  std::lock_guard lock(tables.mutex);
  bool typeSeen = false;
  bool nameSeen = false;
  Resource* neutral = nullptr;
  Resource* any = nullptr;
  for (auto& resource : tables.resources) {
    if (resource->module != module || !(resource->type == *typeId)) continue;
    typeSeen = true;
    if (!(resource->name == *nameId)) continue;
    nameSeen = true;
    if (language && resource->language == *language) return resource.get();
    if (resource->language == 0 && neutral == nullptr) neutral = resource.get();
    if (any == nullptr) any = resource.get();
  }
  if (neutral != nullptr) return neutral;
  if (!language && any != nullptr) return any;
  SetLastError(!typeSeen ? ERROR_RESOURCE_TYPE_NOT_FOUND
               : !nameSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                           : ERROR_RESOURCE_LANG_NOT_FOUND);
  return nullptr;
}

Resource* FromHandle(HRSRC handle) {
  ResourceTables& tables = Tables();
  std::lock_guard lock(tables.mutex);
  for (auto& resource : tables.resources)
    if (reinterpret_cast<HRSRC>(resource.get()) == handle) return resource.get();
  return nullptr;
}

}  // namespace

BOOL RegisterModuleResources(HMODULE module, const RESOURCE_TABLE_ENTRY* entries, UINT count) {
  if (entries == nullptr && count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  module = Normalise(module);
  ResourceTables& tables = Tables();
  std::lock_guard lock(tables.mutex);
  for (UINT i = 0; i < count; ++i) {
    const auto type = ToId(entries[i].type);
    const auto name = ToId(entries[i].name);
    if (!type || !name) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    Resource fresh{module, *type, *name, entries[i].language, entries[i].data, entries[i].size};
    bool replaced = false;
    for (auto& resource : tables.resources) {
      if (resource->module == module && resource->type == *type && resource->name == *name &&
          resource->language == entries[i].language) {
        *resource = fresh;
        replaced = true;
      }
    }
    if (!replaced) tables.resources.push_back(std::make_unique<Resource>(fresh));
    RecordKnownMemory(entries[i].data, entries[i].size, KnownMemoryKind::Image);
  }
  return TRUE;
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  return reinterpret_cast<HRSRC>(Lookup(module, type, name, std::nullopt));
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
  return reinterpret_cast<HRSRC>(Lookup(module, type, name, language));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  const Resource* found = FromHandle(resource);
  if (found == nullptr) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return const_cast<void*>(found->data);
}

LPVOID LockResource(HGLOBAL resourceData) { return resourceData; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const Resource* found = FromHandle(resource);
  if (found == nullptr) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return 0;
  }
  return found->size;
}

BOOL FreeResource(HGLOBAL resourceData) { return FALSE; }
