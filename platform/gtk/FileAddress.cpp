#include "gtk/FileAddress.h"

#include <optional>

#include "core/kernel/PathMapping.h"
#include "gtk/TextConversion.h"

namespace gtkui {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%41" becomes "A"; a "%" without two hex digits stays as it is.
std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The bytes a file address's path keeps as they are; everything else is escaped.
bool KeptInPath(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '-': case '.': case '_': case '~': case '!': case '$': case '&': case '\'': case '(': case ')':
    case '*': case '+': case ',': case ';': case '=': case ':': case '@': case '/':
      return true;
    default:
      return false;
  }
}

std::string PercentEncodePath(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (unsigned char c : path) {
    if (KeptInPath(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// "C:\x", "C:/x" and "\\server\share" name files without being addresses.
bool IsPlainPath(std::u16string_view address) {
  if (address.size() >= 3 && IsDriveLetter(address[0]) && address[1] == u':' &&
      (address[2] == u'\\' || address[2] == u'/'))
    return true;
  return address.size() >= 2 && address[0] == u'\\' && address[1] == u'\\';
}

struct FileAddressParts {
  std::string path;  // decoded bytes
  std::string rest;  // "?query#fragment", as it was
};

// The parts of "file://[localhost]/path?query#fragment" (also "file:/path" and "file:path");
// nothing for another scheme or another host.
std::optional<FileAddressParts> SplitFileAddress(std::string_view address) {
  if (!StartsWithIgnoringCase(address, "file:")) return std::nullopt;
  std::string_view rest = address.substr(5);
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    const bool local = host.empty() || (host.size() == 9 && StartsWithIgnoringCase(host, "localhost"));
    if (!local) return std::nullopt;
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
  }
  const std::size_t end = rest.find_first_of("?#");
  FileAddressParts parts;
  parts.path = PercentDecode(rest.substr(0, end));
  if (end != std::string_view::npos) parts.rest = std::string(rest.substr(end));
  return parts;
}

// A decoded file address path as a platform path: "/C:/x" or "/C|/x" is "C:\x".
std::optional<std::u16string> PlatformPathOfAddressPath(const std::string& path) {
  std::u16string text = Utf16Of(path);
  if (!text.empty() && text[0] == u'/') text.erase(0, 1);
  if (text.size() < 2 || !IsDriveLetter(text[0]) || (text[1] != u':' && text[1] != u'|')) return std::nullopt;
  text[1] = u':';
  for (char16_t& c : text)
    if (c == u'/') c = u'\\';
  return text;
}

std::string HostFileAddress(const std::string& hostPath, const std::string& rest) {
  return "file://" + PercentEncodePath(hostPath) + rest;
}

}  // namespace

std::string ToEngineAddress(std::u16string_view address, const core::PathMapping* mapping) {
  if (mapping == nullptr) return Utf8Of(address);
  if (IsPlainPath(address)) {
    if (std::optional<std::string> host = mapping->ToHostPath(address)) return HostFileAddress(*host, "");
    return Utf8Of(address);
  }
  const std::string utf8 = Utf8Of(address);
  const std::optional<FileAddressParts> parts = SplitFileAddress(utf8);
  if (!parts) return utf8;
  // A host path already ("file:///home/u/page.html") needs no drive.
  if (!parts->path.empty() && parts->path[0] == '/' && !PlatformPathOfAddressPath(parts->path))
    return HostFileAddress(parts->path, parts->rest);
  const std::optional<std::u16string> platformPath = PlatformPathOfAddressPath(parts->path);
  if (!platformPath) return utf8;
  const std::optional<std::string> host = mapping->ToHostPath(*platformPath);
  if (!host) return utf8;
  return HostFileAddress(*host, parts->rest);
}

std::u16string ToPlatformAddress(std::string_view address, const core::PathMapping* mapping) {
  if (mapping == nullptr) return Utf16Of(address);
  const std::optional<FileAddressParts> parts = SplitFileAddress(address);
  if (!parts || parts->path.empty() || parts->path[0] != '/') return Utf16Of(address);
  const std::optional<std::u16string> platformPath = mapping->ToPlatformPath(parts->path);
  if (!platformPath) return Utf16Of(address);
  std::string path = Utf8Of(*platformPath);
  for (char& c : path)
    if (c == '\\') c = '/';
  return Utf16Of("file:///" + PercentEncodePath(path) + parts->rest);
}

}  // namespace gtkui
