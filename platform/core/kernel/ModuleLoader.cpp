// LoadLibraryW, GetProcAddress and FreeLibrary over the built-in modules and installed entry points.
#include "libloaderapi.h"

#include <map>
#include <mutex>
#include <string>

#include "core/kernel/LoaderEntryPoints.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace core {

namespace {

struct Module {
  std::map<std::string, FARPROC> entries;  // names as given: GetProcAddress is case-sensitive
};

struct LoaderState {
  std::mutex lock;
  std::map<std::u16string, Module> modules;  // by normalised name; nodes never move
};

// The modules the system links against on the platform; loading one always succeeds.
constexpr std::u16string_view kBuiltIn[] = {u"kernel32.dll", u"user32.dll", u"gdi32.dll", u"advapi32.dll",
                                            u"shell32.dll",  u"ole32.dll",  u"oleaut32.dll", u"version.dll"};

// The file name without folders, in lower case, with ".dll" when it has no extension.
std::u16string Normalise(std::u16string_view name) {
  const std::size_t slash = name.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) name.remove_prefix(slash + 1);
  std::u16string normal;
  for (char16_t unit : name) normal.push_back(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
  if (normal.find(u'.') == std::u16string::npos) normal += u".dll";
  return normal;
}

LoaderState& State() {
  static auto* state = [] {
    auto* created = new LoaderState;  // never destroyed: modules are never unloaded
    for (std::u16string_view name : kBuiltIn) created->modules[std::u16string(name)];
    return created;
  }();
  return *state;
}

Module* Find(LoaderState& state, HMODULE handle) {
  for (auto& [name, module] : state.modules) {
    if (reinterpret_cast<HMODULE>(&module) == handle) return &module;
  }
  return nullptr;
}

}  // namespace

void InstallEntryPoint(std::u16string_view module, std::string_view name, FARPROC entry) {
  LoaderState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  state.modules[Normalise(module)].entries[std::string(name)] = entry;
}

void RemoveEntryPoint(std::u16string_view module, std::string_view name) {
  LoaderState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  auto found = state.modules.find(Normalise(module));
  if (found != state.modules.end()) found->second.entries.erase(std::string(name));
}

}  // namespace core

HMODULE LoadLibraryW(LPCWSTR fileName) {
  if (fileName == nullptr || *fileName == u'\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  core::LoaderState& state = core::State();
  std::lock_guard<std::mutex> guard(state.lock);
  auto found = state.modules.find(core::Normalise(fileName));
  if (found == state.modules.end()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(&found->second);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  core::LoaderState& state = core::State();
  std::lock_guard<std::mutex> guard(state.lock);
  core::Module* loaded = core::Find(state, module);
  if (loaded == nullptr) {
    SetLastError(module == nullptr ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Lookups by ordinal find nothing: no module here exports by number.
  if (procName == nullptr || IS_INTRESOURCE(procName)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  auto entry = loaded->entries.find(procName);
  if (entry == loaded->entries.end() || entry->second == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return entry->second;
}

BOOL FreeLibrary(HMODULE module) {
  core::LoaderState& state = core::State();
  std::lock_guard<std::mutex> guard(state.lock);
  // Modules stay loaded for the life of the process, as built-in ones do on the platform.
  if (core::Find(state, module) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
