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

#include "core/kernel/HandleTable.h"
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

using IconTable = core::HandleTable<HICON, IconObject>;

IconTable& Icons() {
  static auto* table = IconTable::Make(0x00A00004, 4, ERROR_INVALID_HANDLE);
  return *table;
}

// The icons loaded shared, one per module, name and size; they live as long as the process.
struct SharedIcons {
  std::mutex mutex;
  std::map<std::tuple<HINSTANCE, std::u16string, int>, HICON> icons;
};

SharedIcons& Shared() {
  static auto* shared = new SharedIcons;  // never destroyed, like the icon table
  return *shared;
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
  return Icons().Add(IconObject{width, height, image, imageSize});
}

HICON LoadShared(HINSTANCE instance, LPCWSTR name, int size) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto key = std::make_tuple(instance, Key(name), size);
  SharedIcons& shared = Shared();
  {
    std::lock_guard lock(shared.mutex);
    auto it = shared.icons.find(key);
    if (it != shared.icons.end()) return it->second;
  }
  HICON icon = LoadGroupIcon(instance, name, size);
  if (icon == nullptr) return nullptr;
  std::lock_guard lock(shared.mutex);
  return shared.icons.emplace(key, icon).first->second;
}

}  // namespace

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) { return LoadShared(instance, name, GetSystemMetrics(SM_CXICON)); }

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int size = cx != 0 ? cx : (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : GetSystemMetrics(SM_CXICON);
  if (flags & LR_SHARED) return LoadShared(instance, name, size);
  return LoadGroupIcon(instance, name, size);
}

BOOL DestroyIcon(HICON icon) {
  {
    SharedIcons& shared = Shared();
    std::lock_guard lock(shared.mutex);
    for (const auto& [key, loaded] : shared.icons)
      if (loaded == icon) return TRUE;  // shared icons stay
  }
  return Icons().Remove(icon);
}

bool ReadIconImage(HICON icon, IconImage& image) {
  IconObject object{};
  if (!Icons().Visit(icon, [&object](const IconObject* found) {
        if (found != nullptr) object = *found;
        return found != nullptr;
      })) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (!DecodeIconBitmap(object.image, object.imageSize, image)) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  return true;
}
