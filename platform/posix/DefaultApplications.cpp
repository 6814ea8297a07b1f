#include "posix/DefaultApplications.h"

#include <gio/gio.h>

#include <memory>

namespace posix {

namespace {

struct ObjectRelease {
  void operator()(gpointer object) const { g_object_unref(object); }
};
struct TextRelease {
  void operator()(gchar* text) const { g_free(text); }
};
struct ErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};

template <class T>
using Object = std::unique_ptr<T, ObjectRelease>;
using Text = std::unique_ptr<gchar, TextRelease>;
using Error = std::unique_ptr<GError, ErrorRelease>;

DesktopLaunch Launched() { return DesktopLaunch{DesktopLaunch::Status::Launched, {}}; }

DesktopLaunch NoApplicationFor(std::string what) {
  return DesktopLaunch{DesktopLaunch::Status::NoApplication, std::move(what)};
}

DesktopLaunch FailedWith(GError* raw) {
  Error error(raw);
  return DesktopLaunch{DesktopLaunch::Status::Failed, error ? error->message : "the application did not start"};
}

// "plain text document (text/plain)", or the bare type when the desktop has no description.
std::string DescribeContentType(const char* contentType) {
  Text mime(g_content_type_get_mime_type(contentType));
  Text description(g_content_type_get_description(contentType));
  const std::string type = mime ? mime.get() : contentType;
  if (!description || type == description.get()) return type;
  return std::string(description.get()) + " (" + type + ")";
}

}  // namespace

DesktopLaunch OpenAddressWithDefaultApplication(const std::string& address) {
  Text scheme(g_uri_parse_scheme(address.c_str()));
  if (!scheme) return NoApplicationFor(address);
  Object<GAppInfo> application(g_app_info_get_default_for_uri_scheme(scheme.get()));
  if (!application) return NoApplicationFor(std::string(scheme.get()) + ": addresses");
  GList addresses{const_cast<char*>(address.c_str()), nullptr, nullptr};
  GError* error = nullptr;
  // No launch context: the launcher's own display is the one the application opens on.
  if (!g_app_info_launch_uris(application.get(), &addresses, nullptr, &error)) return FailedWith(error);
  return Launched();
}

DesktopLaunch OpenFileWithDefaultApplication(const std::string& hostPath) {
  Object<GFile> file(g_file_new_for_path(hostPath.c_str()));
  GError* error = nullptr;
  Object<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, &error));
  if (!info) return FailedWith(error);
  const char* contentType = g_file_info_get_content_type(info.get());
  if (contentType == nullptr) contentType = "application/octet-stream";
  Object<GAppInfo> application(g_app_info_get_default_for_type(contentType, FALSE));
  if (!application) return NoApplicationFor(DescribeContentType(contentType));
  GList files{file.get(), nullptr, nullptr};
  if (!g_app_info_launch(application.get(), &files, nullptr, &error)) return FailedWith(error);
  return Launched();
}

std::optional<std::string> HostPathOfFileAddress(const std::string& address) {
  Text path(g_filename_from_uri(address.c_str(), nullptr, nullptr));
  if (!path) return std::nullopt;
  return std::string(path.get());
}

}  // namespace posix
