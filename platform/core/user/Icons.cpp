// Icons from RT_GROUP_ICON resources. LoadIconW picks the group's image nearest to the
// system's icon size and answers one shared handle per module and name, as the platform does
// for icons loaded that way.
#include "winuser.h"

#include "core/user/IconImage.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "winerror.h"

namespace {

struct IconObject {
  int width;
  int height;
  const void* image;
  DWORD imageSize;
};

struct IconTable {
  std::mutex mutex;
  std::map<void*, IconObject> icons;
  std::map<std::tuple<HINSTANCE, std::u16string, int>, HICON> shared;
  std::uintptr_t next = 0x00A00000;
};

IconTable& Icons() {
  static IconTable table;
  return table;
}

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD ReadDword(const BYTE* p) { return ReadWord(p) | (static_cast<DWORD>(ReadWord(p + 2)) << 16); }

std::u16string Key(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return u"#" + std::u16string(1, static_cast<char16_t>(reinterpret_cast<ULONG_PTR>(name)));
  return std::u16string(name);
}

// The group's entry (6-byte header, 14-byte entries) whose width is nearest to the wanted one.
HICON LoadGroupIcon(HINSTANCE instance, LPCWSTR name, int wanted) {
  HRSRC groupResource = FindResourceW(instance, name, RT_GROUP_ICON);
  if (groupResource == nullptr) return nullptr;
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(instance, groupResource)));
  const DWORD groupSize = SizeofResource(instance, groupResource);
  if (group == nullptr || groupSize < 6 || ReadWord(group + 2) != 1) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const WORD count = ReadWord(group + 4);
  if (count == 0 || groupSize < 6u + 14u * count) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < count; ++i) {
    const int width = group[6 + 14 * i] == 0 ? 256 : group[6 + 14 * i];
    const int distance = width >= wanted ? width - wanted : 2 * (wanted - width);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  const BYTE* entry = group + 6 + 14 * best;
  HRSRC imageResource = FindResourceW(instance, MAKEINTRESOURCEW(ReadWord(entry + 12)), RT_ICON);
  if (imageResource == nullptr) return nullptr;
  const void* image = LockResource(LoadResource(instance, imageResource));
  const DWORD imageSize = SizeofResource(instance, imageResource);
  if (image == nullptr || imageSize < 40 || ReadDword(static_cast<const BYTE*>(image)) != 40) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const int width = entry[0] == 0 ? 256 : entry[0];
  const int height = entry[1] == 0 ? 256 : entry[1];
  IconTable& table = Icons();
  std::lock_guard lock(table.mutex);
  HICON icon = reinterpret_cast<HICON>(table.next += 4);
  table.icons.emplace(icon, IconObject{width, height, image, imageSize});
  return icon;
}

HICON Shared(HINSTANCE instance, LPCWSTR name, int size) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto key = std::make_tuple(instance, Key(name), size);
  {
    IconTable& table = Icons();
    std::lock_guard lock(table.mutex);
    auto it = table.shared.find(key);
    if (it != table.shared.end()) return it->second;
  }
  HICON icon = LoadGroupIcon(instance, name, size);
  if (icon == nullptr) return nullptr;
  IconTable& table = Icons();
  std::lock_guard lock(table.mutex);
  return table.shared.emplace(key, icon).first->second;
}

}  // namespace

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) { return Shared(instance, name, GetSystemMetrics(SM_CXICON)); }

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int size = cx != 0 ? cx : (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : GetSystemMetrics(SM_CXICON);
  if (flags & LR_SHARED) return Shared(instance, name, size);
  return LoadGroupIcon(instance, name, size);
}

BOOL DestroyIcon(HICON icon) {
  IconTable& table = Icons();
  std::lock_guard lock(table.mutex);
  for (const auto& [key, shared] : table.shared)
    if (shared == icon) return TRUE;  // shared icons stay
  return table.icons.erase(icon) != 0;
}

bool ReadIconImage(HICON icon, IconImage& image) {
  IconObject object{};
  {
    IconTable& table = Icons();
    std::lock_guard lock(table.mutex);
    auto it = table.icons.find(icon);
    if (it == table.icons.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    object = it->second;
  }
  if (!DecodeIconBitmap(object.image, object.imageSize, image)) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  return true;
}
