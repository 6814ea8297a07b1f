#include "gtk/WebProcessModule.h"

#include <webkit2/webkit2.h>

#include <cstdio>

namespace gtkui {

namespace {

// Where the build put the module relative to the executable's folder; set by the build.
constexpr char kBeside[] = TSR_WEBPROCESS_BESIDE;
constexpr char kInstalled[] = TSR_WEBPROCESS_INSTALLED;
constexpr char kModuleFile[] = TSR_WEBPROCESS_FILE;

std::string Tidy(const std::string& path) {
  gchar* tidy = g_canonicalize_filename(path.c_str(), nullptr);
  std::string result = tidy;
  g_free(tidy);
  return result;
}

std::string ExecutablePath() {
  gchar* path = g_file_read_link("/proc/self/exe", nullptr);
  std::string result = path != nullptr ? path : "";
  g_free(path);
  return result;
}

std::string FolderOf(const std::string& path) {
  if (path.empty()) return std::string();
  gchar* folder = g_path_get_dirname(path.c_str());
  std::string result = folder;
  g_free(folder);
  return result;
}

std::string BaseNameOf(const std::string& path) {
  gchar* name = g_path_get_basename(path.empty() ? "tessarin-guide" : path.c_str());
  std::string result = name;
  g_free(name);
  return result;
}

bool HoldsModule(const std::string& folder) {
  return g_file_test((folder + "/" + kModuleFile).c_str(), G_FILE_TEST_IS_REGULAR);
}

bool TellMissing(const std::string& executable) {
  const std::string folder = FolderOf(executable);
  std::fprintf(stderr, "%s: the web process module %s is in neither %s nor %s; pages show, but the program cannot "
               "read or change what is in them\n",
               BaseNameOf(executable).c_str(), kModuleFile, Tidy(folder + "/" + kBeside).c_str(),
               Tidy(folder + "/" + kInstalled).c_str());
  std::fflush(stderr);
  return true;
}

}  // namespace

std::optional<std::string> FindWebProcessModule(const std::string& executableFolder) {
  if (executableFolder.empty()) return std::nullopt;
  for (const char* relative : {kBeside, kInstalled}) {
    const std::string folder = Tidy(executableFolder + "/" + relative);
    if (HoldsModule(folder)) return folder;
  }
  return std::nullopt;
}

// Set before the first web process starts (the first view's), and again, to the same, for
// each later view.
bool PrepareWebProcessModule(WebKitWebContext* context, const char* worldName) {
  static const std::string executable = ExecutablePath();
  static const std::optional<std::string> folder = FindWebProcessModule(FolderOf(executable));
  if (!folder) {
    static const bool told = TellMissing(executable);
    static_cast<void>(told);
    return false;
  }
  webkit_web_context_set_web_extensions_directory(context, folder->c_str());
  webkit_web_context_set_web_extensions_initialization_user_data(context, g_variant_new_string(worldName));
  return true;
}

}  // namespace gtkui
