#include "posix/WinePrefixPaths.h"

#include <dirent.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "core/kernel/UtfCodec.h"

namespace posix {

namespace {

char16_t FoldAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit; }


std::optional<std::string> ReadLink(const std::string& path) {
  std::string target(PATH_MAX, '\0');
  const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
  if (length < 0) return std::nullopt;
  target.resize(static_cast<std::size_t>(length));
  return target;
}

std::string Resolved(const std::string& path) {
  std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
  return real ? std::string(real.get()) : std::string();
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Platform paths ignore letter case; the host's files do not. Each component that does not
// exist as written is looked for among its folder's entries without regard to ASCII case,
// so "C:\Windows\System32" finds drive_c/windows/system32.
std::string MatchCase(const std::string& base, std::string_view rest) {
  std::string path = base;
  std::size_t start = 0;
  bool matching = true;
  while (start < rest.size()) {
    std::size_t stop = rest.find('/', start);
    if (stop == std::string_view::npos) stop = rest.size();
    const std::string_view name = rest.substr(start, stop - start);
    start = stop + 1;
    if (name.empty()) continue;
    std::string candidate = (path == "/" ? path : path + "/") + std::string(name);
    if (matching && !Exists(candidate)) {
      matching = false;
      if (DIR* folder = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(folder)) {
          if (EqualsIgnoringAsciiCase(entry->d_name, name)) {
            candidate = (path == "/" ? path : path + "/") + entry->d_name;
            matching = true;
            break;
          }
        }
        ::closedir(folder);
      }
    }
    path = std::move(candidate);
  }
  return path;
}

// The length of `root` when it is `path` itself or a folder above it, else 0.
std::size_t CoveredLength(std::string_view path, const std::string& root) {
  if (root.empty()) return 0;
  if (root == "/") return 1;
  if (path.size() < root.size() || path.compare(0, root.size(), root) != 0) return 0;
  if (path.size() > root.size() && path[root.size()] != '/') return 0;
  return root.size();
}

}  // namespace

std::string NormalisePosixPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t stop = path.find('/', start);
    if (stop == std::string_view::npos) stop = path.size();
    const std::string_view part = path.substr(start, stop - start);
    start = stop + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (path.empty() || path[0] != '/') {
        parts.push_back(part);
      }
      continue;
    }
    parts.push_back(part);
  }
  std::string normal = !path.empty() && path[0] == '/' ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) normal += '/';
    normal += parts[i];
  }
  return normal.empty() ? "." : normal;
}

std::optional<std::string> AbsolutePosixPath(std::string_view path) {
  if (!path.empty() && path[0] == '/') return NormalisePosixPath(path);
  std::unique_ptr<char, void (*)(void*)> current(::getcwd(nullptr, 0), std::free);
  if (!current || current.get()[0] != '/') return std::nullopt;
  return NormalisePosixPath(std::string(current.get()) + "/" + std::string(path));
}

std::string DefaultWinePrefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
    // Wine takes a relative prefix against the working folder as well.
    return AbsolutePosixPath(prefix).value_or(prefix);
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    if (const passwd* user = ::getpwuid(::getuid())) home = user->pw_dir;
  }
  return std::string(home != nullptr ? home : "") + "/.wine";
}

// A relative prefix would give relative drive targets, whose files the browser cannot be
// pointed at and whose host paths would come back under Z:.
WinePrefixPaths::WinePrefixPaths(std::string prefix)
    : prefix_(AbsolutePosixPath(prefix).value_or(NormalisePosixPath(prefix))) {
  const std::string devices = prefix_ + "/dosdevices/";
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    std::string target;
    if (std::optional<std::string> link = ReadLink(devices + letter + ":")) {
      // Relative links are relative to the dosdevices folder, as the prefix writes them.
      target = NormalisePosixPath((*link)[0] == '/' ? *link : devices + *link);
    } else if (letter == 'c') {
      target = prefix_ + "/drive_c";
    } else if (letter == 'z') {
      target = "/";
    } else {
      continue;
    }
    const std::string resolved = Resolved(target);
    drives_.push_back(Drive{letter, target, resolved == target ? std::string() : resolved});
  }
}

std::optional<std::string> WinePrefixPaths::DriveTarget(char16_t letter) const {
  const char16_t folded = FoldAscii(letter);
  for (const Drive& drive : drives_) {
    if (drive.letter == folded) return drive.target;
  }
  return std::nullopt;
}

std::optional<std::string> WinePrefixPaths::ToHostPath(std::u16string_view platformPath) const {
  // A zero unit would end the host path early and name another file.
  if (platformPath.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  // The long-path form names the same file; UNC shares have no place in a prefix.
  if (platformPath.substr(0, 4) == u"\\\\?\\") platformPath.remove_prefix(4);
  if (platformPath.substr(0, 4) == u"UNC\\" || platformPath.substr(0, 2) == u"\\\\") return std::nullopt;
  if (!platformPath.empty() && platformPath[0] == u'/') return Utf::StrictUtf8(platformPath);

  std::optional<std::string> text = Utf::StrictUtf8(platformPath);
  if (!text) return std::nullopt;
  for (char& c : *text) {
    if (c == '\\') c = '/';
  }
  const bool hasDrive = text->size() >= 2 && (*text)[1] == ':' &&
                        (((*text)[0] >= 'a' && (*text)[0] <= 'z') || ((*text)[0] >= 'A' && (*text)[0] <= 'Z'));
  if (!hasDrive) return text;
  std::optional<std::string> target = DriveTarget(static_cast<char16_t>((*text)[0]));
  if (!target) return std::nullopt;
  return MatchCase(*target, std::string_view(*text).substr(2));
}

std::optional<std::u16string> WinePrefixPaths::ToPlatformPath(std::string_view hostPath) const {
  if (hostPath.empty() || hostPath[0] != '/') return std::nullopt;
  const std::string path = NormalisePosixPath(hostPath);
  const Drive* best = nullptr;
  std::size_t bestLength = 0;
  for (const Drive& drive : drives_) {
    for (const std::string* root : {&drive.target, &drive.resolvedTarget}) {
      const std::size_t length = CoveredLength(path, *root);
      if (length > bestLength) {
        best = &drive;
        bestLength = length;
      }
    }
  }
  if (best == nullptr) return std::nullopt;
  std::string platform;
  platform += static_cast<char>(best->letter - 'a' + 'A');
  platform += ":\\";
  std::string_view rest = std::string_view(path).substr(bestLength);
  if (!rest.empty() && rest[0] == '/') rest.remove_prefix(1);
  for (char c : rest) platform += c == '/' ? '\\' : c;
  return Utf::StrictUtf16(platform);
}

}  // namespace posix
