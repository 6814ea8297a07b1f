// The registry calls over in-memory hives. HKEY_LOCAL_MACHINE is the installed machine hive
// and is read-only here; the other predefined keys are empty hives.
#include "winreg.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>

#include "core/kernel/HandleTable.h"
#include "core/registry/RegistryHive.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace core {

namespace {

struct OpenKey {
  std::shared_ptr<const RegistryHive> hive;
  RegistryHive::KeyId key;
  bool readOnly;
};

struct RegistryState {
  std::mutex lock;
  std::shared_ptr<const RegistryHive> machine = std::make_shared<RegistryHive>();
  std::shared_ptr<const RegistryHive> empty = std::make_shared<RegistryHive>();
};

RegistryState& State() {
  static auto* state = new RegistryState;  // never destroyed: keys may be closed at exit
  return *state;
}

// Opened keys get fresh even values far below the predefined ones; a closed value is never
// handed out again, so a second close or a late use is caught. The registry reports through
// its status codes, so the table's error is never set.
using OpenKeys = HandleTable<HKEY, OpenKey>;

OpenKeys& Open() {
  static auto* open = OpenKeys::Make(0x1000, 4, ERROR_INVALID_HANDLE);
  return *open;
}

bool IsPredefined(HKEY key) {
  const auto value = reinterpret_cast<ULONG_PTR>(key);
  return value >= reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) &&
         value <= reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_CONFIG);
}

// What a handle names, copied so that a close on another thread cannot pull it away.
std::optional<OpenKey> Resolve(HKEY key) {
  if (IsPredefined(key)) {
    RegistryState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return OpenKey{key == HKEY_LOCAL_MACHINE ? state.machine : state.empty, RegistryHive::kRoot, true};
  }
  return Open().Visit(key, [](const OpenKey* open) { return open ? std::optional<OpenKey>(*open) : std::nullopt; });
}

std::u16string_view View(LPCWSTR text) {
  return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

}  // namespace

void InstallMachineHive(std::shared_ptr<const RegistryHive> hive) {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  state.machine = hive ? std::move(hive) : std::make_shared<RegistryHive>();
}

std::shared_ptr<const RegistryHive> MachineHive() {
  RegistryState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  return state.machine;
}

}  // namespace core

using core::OpenKey;
using core::RegistryHive;

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::optional<OpenKey> parent = core::Resolve(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  const std::u16string_view path = core::View(subKey);
  // A relative path never starts with a separator.
  if (!path.empty() && path.front() == u'\\') return ERROR_BAD_PATHNAME;
  std::optional<RegistryHive::KeyId> found = parent->hive->FindPath(path, parent->key);
  if (!found) return ERROR_FILE_NOT_FOUND;
  // The hives here are snapshots of the machine's state: nothing writes to them.
  if (parent->readOnly && (desired & core::kWriteRights) != 0) return ERROR_ACCESS_DENIED;
  *result = core::Open().Add(OpenKey{parent->hive, *found, parent->readOnly});
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize) {
  if (reserved != nullptr) return ERROR_INVALID_PARAMETER;
  if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
  std::optional<OpenKey> open = core::Resolve(key);
  if (!open) return ERROR_INVALID_HANDLE;
  std::optional<RegistryHive::ValueView> value = open->hive->FindValue(open->key, core::View(valueName));
  if (!value) return ERROR_FILE_NOT_FOUND;

  if (type != nullptr) *type = value->type;
  if (dataSize == nullptr) return ERROR_SUCCESS;
  const auto size = static_cast<DWORD>(value->size);
  // Without a buffer the call only reports the size. With one that is too small it reports
  // the size needed and ERROR_MORE_DATA, and the buffer's contents are not to be relied on.
  if (data != nullptr && *dataSize < size) {
    *dataSize = size;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr && size != 0) std::memcpy(data, value->data, size);
  *dataSize = size;
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  // Closing a predefined key succeeds and changes nothing.
  if (core::IsPredefined(key)) return ERROR_SUCCESS;
  return core::Open().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
