#include "posix/ProfileFile.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "posix/RegularFileContents.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

std::mutex fileMutex;

std::string ToUtf8(LPCWSTR text) {
  if (text == nullptr) return {};
  glong length = 0;
  while (text[length] != 0) ++length;
  gchar* converted = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(text), length, nullptr, nullptr, nullptr);
  std::string result = converted != nullptr ? converted : "";
  g_free(converted);
  return result;
}

std::u16string ToUtf16(const char* text) {
  glong length = 0;
  gunichar2* converted = g_utf8_to_utf16(text, -1, nullptr, &length, nullptr);
  std::u16string result = converted != nullptr ? std::u16string(reinterpret_cast<char16_t*>(converted), static_cast<std::size_t>(length)) : std::u16string();
  g_free(converted);
  return result;
}

struct KeyFileDeleter {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

// Names of sections and entries compare without regard to letter case, as in the platform's
// profile files: the name as the file spells it, or the name as given when it is new.
bool SameName(const std::string& a, const char* b) {
  gchar* x = g_utf8_casefold(a.c_str(), -1);
  gchar* y = g_utf8_casefold(b, -1);
  const bool same = g_strcmp0(x, y) == 0;
  g_free(x);
  g_free(y);
  return same;
}

// The spelling among names (a list GLib made, freed here) that is the same name, else name itself.
std::string SpelledAmong(gchar** names, const std::string& name) {
  std::string found = name;
  for (gchar** n = names; n != nullptr && *n != nullptr; ++n)
    if (SameName(name, *n)) {
      found = *n;
      break;
    }
  g_strfreev(names);
  return found;
}

std::string SpelledGroup(GKeyFile* file, const std::string& group) {
  return SpelledAmong(g_key_file_get_groups(file, nullptr), group);
}

std::string SpelledKey(GKeyFile* file, const std::string& group, const std::string& key) {
  return SpelledAmong(g_key_file_get_keys(file, group.c_str(), nullptr, nullptr), key);
}

// A profile holds a few placements; a file far larger is none of ours.
constexpr std::uint64_t kLargestProfile = std::uint64_t{1} << 20;

// The file's contents, or an empty key file when there is none yet (or when it is no regular
// file of a profile's size, which is not waited for).
KeyFile Load(const std::string& path) {
  KeyFile file(g_key_file_new());
  const posix::RegularFileContents contents = posix::ReadRegularFile(path, kLargestProfile);
  if (contents.status == posix::RegularFileContents::Status::Read) {
    g_key_file_load_from_data(file.get(), contents.bytes.data(), contents.bytes.size(), G_KEY_FILE_KEEP_COMMENTS,
                              nullptr);
  }
  return file;
}

}  // namespace

std::string ProfileFile::PathOf(LPCWSTR profile) {
  // Read each time rather than through GLib's cached user folders, so that a changed
  // $XDG_CONFIG_HOME takes effect.
  const char* configured = std::getenv("XDG_CONFIG_HOME");
  std::string base = configured != nullptr && g_path_is_absolute(configured)
                         ? std::string(configured)
                         : std::string(g_get_home_dir()) + "/.config";
  std::string name = ToUtf8(profile);
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  if (name.empty()) name = "profile.INI";
  gchar* path = g_build_filename(base.c_str(), name.c_str(), nullptr);
  std::string result = path;
  g_free(path);
  return result;
}

std::optional<std::u16string> ProfileFile::ReadString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry) {
  std::lock_guard lock(fileMutex);
  KeyFile file = Load(PathOf(profile));
  const std::string group = SpelledGroup(file.get(), ToUtf8(section));
  const std::string key = SpelledKey(file.get(), group, ToUtf8(entry));
  gchar* value = g_key_file_get_string(file.get(), group.c_str(), key.c_str(), nullptr);
  if (value == nullptr) return std::nullopt;
  std::u16string result = ToUtf16(value);
  g_free(value);
  return result;
}

BOOL ProfileFile::WriteString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
  std::lock_guard lock(fileMutex);
  const std::string path = PathOf(profile);
  KeyFile file = Load(path);
  const std::string group = SpelledGroup(file.get(), ToUtf8(section));
  if (entry == nullptr) {
    g_key_file_remove_group(file.get(), group.c_str(), nullptr);
  } else {
    const std::string key = SpelledKey(file.get(), group, ToUtf8(entry));
    if (value == nullptr)
      g_key_file_remove_key(file.get(), group.c_str(), key.c_str(), nullptr);
    else
      g_key_file_set_string(file.get(), group.c_str(), key.c_str(), ToUtf8(value).c_str());
  }
  gchar* folder = g_path_get_dirname(path.c_str());
  const int made = g_mkdir_with_parents(folder, 0700);
  g_free(folder);
  if (made != 0 || !g_key_file_save_to_file(file.get(), path.c_str(), nullptr)) {
    SetLastError(ERROR_CANTWRITE);
    return FALSE;
  }
  return TRUE;
}

void InstallProfileFiles() {
  core::InstallProfileStore(std::make_shared<ProfileFile>());
}
