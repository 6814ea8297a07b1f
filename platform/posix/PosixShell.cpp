#include "posix/PosixShell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "core/kernel/UtfCodec.h"
#include "posix/DefaultApplications.h"
#include "posix/DetachedProcess.h"
#include "posix/PosixFileAttributes.h"
#include "posix/WindowsCommandLine.h"

namespace posix {

namespace {

// Why a request was not carried out: the platform's answer and what the user is told.
struct Refusal {
  INT_PTR result;
  DWORD error;
  std::u16string reason;   // completes "Cannot open "<path>": "
  std::string hostPath;    // shown when there is one
};

using Answer = std::optional<Refusal>;  // nothing: it was opened

enum class Verb { Open, Explore, Unknown };

char16_t FoldAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit; }

std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& unit : folded) unit = FoldAscii(unit);
  return folded;
}

Verb VerbOf(const std::optional<std::u16string_view>& verb) {
  // An empty verb is no verb, as a null one: the default, which is opening.
  if (!verb || verb->empty()) return Verb::Open;
  const std::u16string folded = Folded(*verb);
  if (folded == u"open") return Verb::Open;
  if (folded == u"explore") return Verb::Explore;
  return Verb::Unknown;
}

// Names in a message are cut after this many characters: a name of a megabyte made the box's
// text layout take seconds, and no one reads that far anyway.
constexpr std::size_t kLongestName = 300;

// The name whole, or its first kLongestName characters and "…"; a surrogate pair is one
// character and is never split.
std::u16string Shortened(std::u16string_view name) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < name.size(); ++at) {
    const bool secondHalf = name[at] >= 0xDC00 && name[at] <= 0xDFFF && at > 0 && name[at - 1] >= 0xD800 &&
                            name[at - 1] <= 0xDBFF;
    if (secondHalf) continue;
    if (characters++ == kLongestName) return std::u16string(name.substr(0, at)) + u"\u2026";
  }
  return std::u16string(name);
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool StartsWithDrive(std::u16string_view path) {
  return path.size() >= 2 && path[1] == u':' && path[0] < 0x80 && IsAsciiLetter(static_cast<char>(path[0]));
}

// "scheme:..." with a scheme of two or more characters, so that "C:\x" and "C:x" stay paths.
std::optional<std::string> SchemeOf(std::string_view text) {
  if (text.empty() || !IsAsciiLetter(text[0])) return std::nullopt;
  std::size_t at = 1;
  while (at < text.size() && (IsAsciiLetter(text[at]) || (text[at] >= '0' && text[at] <= '9') || text[at] == '+' ||
                              text[at] == '-' || text[at] == '.')) {
    ++at;
  }
  if (at < 2 || at >= text.size() || text[at] != ':') return std::nullopt;
  std::string scheme(text.substr(0, at));
  for (char& c : scheme) c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
  return scheme;
}

std::string ParentOf(const std::string& hostPath) {
  const std::size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : hostPath.substr(0, slash);
}

bool IsFolder(const std::string& hostPath) {
  struct stat info {};
  return ::stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Absolute(std::string hostPath) {
  if (!hostPath.empty() && hostPath[0] == '/') return hostPath;
  std::unique_ptr<char, void (*)(void*)> current(::getcwd(nullptr, 0), std::free);
  return current ? std::string(current.get()) + "/" + hostPath : hostPath;
}


// The wine command line in front of a Windows program's path, or nothing for other files.
std::optional<std::vector<std::string>> WineCommandFor(const std::string& hostPath) {
  const std::size_t dot = hostPath.find_last_of("./");
  if (dot == std::string::npos || hostPath[dot] != '.') return std::nullopt;
  const std::u16string extension = Folded(Utf::LenientUtf16(std::string_view(hostPath).substr(dot)));
  if (extension == u".exe" || extension == u".com") return std::vector<std::string>{};
  if (extension == u".msi") return std::vector<std::string>{"msiexec", "/i"};
  if (extension == u".bat" || extension == u".cmd") return std::vector<std::string>{"cmd", "/c"};
  return std::nullopt;
}

// An empty PATH entry would mean the current folder; a launcher should not run whatever
// "wine" happens to lie there.
std::optional<std::string> FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string_view folders(path);
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    if (folder.empty() || folder[0] != '/') continue;
    const std::string candidate = std::string(folder) + "/" + std::string(program);
    struct stat info {};
    if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return std::nullopt;
}

std::u16string ErrnoText(int error) {
  char buffer[256];
  // The GNU form answers its own text or one of the buffer.
  const char* text = ::strerror_r(error, buffer, sizeof buffer);
  std::u16string reason = Utf::LenientUtf16(text);
  if (!reason.empty()) reason[0] = FoldAscii(reason[0]);
  return reason;
}

Refusal FromErrno(int error, std::u16string reason, std::string hostPath) {
  INT_PTR result = SE_ERR_ACCESSDENIED;
  switch (error) {
    case ENOENT:
      result = SE_ERR_FNF;
      break;
    case ENOTDIR:
    case ELOOP:
      result = SE_ERR_PNF;
      break;
    case ENOMEM:
    case EAGAIN:
      result = SE_ERR_OOM;
      break;
  }
  return Refusal{result, PlatformErrorOf(error), std::move(reason), std::move(hostPath)};
}

Refusal NoAssociation(std::u16string reason, std::string hostPath = {}) {
  return Refusal{SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION, std::move(reason), std::move(hostPath)};
}

Answer FromLaunch(const DesktopLaunch& launch, std::string hostPath) {
  switch (launch.status) {
    case DesktopLaunch::Status::Launched:
      return std::nullopt;
    case DesktopLaunch::Status::NoApplication:
      return NoAssociation(u"the desktop has no application for " + Shortened(Utf::LenientUtf16(launch.detail)) + u".",
                           std::move(hostPath));
    case DesktopLaunch::Status::Failed:
      break;
  }
  // An application is set, but it does not start: the association is there and broken.
  return Refusal{SE_ERR_ASSOCINCOMPLETE, ERROR_NO_ASSOCIATION,
                 u"its application did not start (" + Shortened(Utf::LenientUtf16(launch.detail)) + u").",
                 std::move(hostPath)};
}

// A path that does not lead to anything: a missing file, a missing folder on the way, or one
// that may not be entered.
Refusal Unreachable(int error, const std::string& hostPath) {
  if (error == ENOENT && !IsFolder(ParentOf(hostPath))) {
    return Refusal{SE_ERR_PNF, ERROR_PATH_NOT_FOUND, u"the folder it should be in does not exist.", hostPath};
  }
  switch (error) {
    case ENOENT:
      return Refusal{SE_ERR_FNF, ERROR_FILE_NOT_FOUND, u"there is no such file or folder.", hostPath};
    case EACCES:
    case EPERM:
      return Refusal{SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED, u"you are not allowed to open it.", hostPath};
    default:
      return FromErrno(error, ErrnoText(error) + u".", hostPath);
  }
}

// One request on its way through the shell.
class Opening {
 public:
  Opening(const std::string& prefix, const core::PathMapping* mapping, const core::ShellExecuteRequest& request)
      : prefix_(prefix), mapping_(mapping), request_(request) {}

  Answer Open() const {
    const Verb verb = VerbOf(request_.verb);
    if (verb == Verb::Unknown) {
      return NoAssociation(u"\"" + Shortened(*request_.verb) + u"\" is not something this shell can do; it can open files, "
                           u"folders and addresses.");
    }
    if (request_.file.empty()) return Refusal{SE_ERR_FNF, ERROR_FILE_NOT_FOUND, u"no file name was given.", {}};
    const std::optional<std::string> text = Utf::StrictUtf8(request_.file);
    if (!text) return Refusal{SE_ERR_FNF, ERROR_INVALID_NAME, u"the name is not valid text.", {}};
    if (const std::optional<std::string> scheme = SchemeOf(*text)) {
      if (*scheme != "file") return OpenAddress(*text, verb);
      const std::optional<std::string> host = HostPathOfFileAddress(*text);
      if (!host) return Refusal{SE_ERR_FNF, ERROR_INVALID_NAME, u"the address names no file on this computer.", {}};
      return OpenHostPath(*host, verb);
    }
    std::optional<std::string> host = mapping_ ? mapping_->ToHostPath(request_.file) : std::nullopt;
    if (!host) return Unmapped();
    return OpenHostPath(Absolute(std::move(*host)), verb);
  }

 private:
  Answer OpenAddress(const std::string& address, Verb verb) const {
    if (verb == Verb::Explore) return NoAssociation(u"an address is not a folder.");
    return FromLaunch(OpenAddressWithDefaultApplication(address), {});
  }

  Refusal Unmapped() const {
    if (StartsWithDrive(request_.file)) {
      return Refusal{SE_ERR_PNF, ERROR_PATH_NOT_FOUND,
                     u"there is no drive " + std::u16string(request_.file.substr(0, 2)) + u" in the Wine prefix " +
                         Utf::LenientUtf16(prefix_) + u".",
                     {}};
    }
    return Refusal{SE_ERR_FNF, ERROR_INVALID_NAME, u"the name is not a valid file name.", {}};
  }

  Answer OpenHostPath(const std::string& host, Verb verb) const {
    struct stat info {};
    if (::stat(host.c_str(), &info) != 0) return Unreachable(errno, host);
    if (S_ISDIR(info.st_mode)) return FromLaunch(OpenFileWithDefaultApplication(host), host);
    if (verb == Verb::Explore) return NoAssociation(u"it is not a folder.", host);
    if (std::optional<std::vector<std::string>> command = WineCommandFor(host)) return RunWithWine(host, *command);
    if (S_ISREG(info.st_mode) && (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) {
      if (::access(host.c_str(), X_OK) != 0) {
        return Refusal{SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED, u"you are not allowed to run it.", host};
      }
      const int error = StartProgram(host, {host});
      // The execute bit alone does not make a program (files copied from a Windows drive
      // often carry it): what the system cannot execute is opened as a document.
      if (error != ENOEXEC) return Started(error, host);
    }
    if (::access(host.c_str(), R_OK) != 0) return Unreachable(errno, host);
    return FromLaunch(OpenFileWithDefaultApplication(host), host);
  }

  Answer RunWithWine(const std::string& host, std::vector<std::string> command) const {
    if (::access(host.c_str(), R_OK) != 0) return Unreachable(errno, host);
    const std::optional<std::string> wine = FindOnPath("wine");
    if (!wine) {
      return NoAssociation(u"it is a Windows program, and wine is not installed to run it. Install wine and try "
                           u"again.",
                           host);
    }
    command.insert(command.begin(), *wine);
    // wine takes the host path of a program; msiexec and cmd take platform paths only.
    command.push_back(command.size() == 1 ? host : PlatformForm(host));
    return Started(StartProgram(host, std::move(command)), host);
  }

  std::string PlatformForm(const std::string& host) const {
    std::optional<std::u16string> platform = mapping_ ? mapping_->ToPlatformPath(host) : std::nullopt;
    std::optional<std::string> text = platform ? Utf::StrictUtf8(*platform) : std::nullopt;
    return text ? *text : host;
  }

  // 0 when started, else the errno of the failed step or kNoWorkingFolder.
  int StartProgram(const std::string& host, std::vector<std::string> arguments) const {
    DetachedProcess process;
    std::optional<std::string> folder = WorkingFolder(host);
    if (!folder) return kNoWorkingFolder;
    process.workingDirectory = std::move(*folder);
    process.arguments = std::move(arguments);
    if (request_.parameters && !request_.parameters->empty()) {
      if (std::optional<std::string> parameters = Utf::StrictUtf8(*request_.parameters)) {
        for (std::string& argument : SplitWindowsCommandLine(*parameters)) process.arguments.push_back(std::move(argument));
      }
    }
    // Programs see the prefix the launcher shows, so one that calls wine itself lands there.
    process.environment = EnvironmentWith("WINEPREFIX", prefix_);
    return StartDetachedProcess(process);
  }

  std::optional<std::string> WorkingFolder(const std::string& host) const {
    if (!request_.directory || request_.directory->empty()) return ParentOf(host);
    std::optional<std::string> folder = mapping_ ? mapping_->ToHostPath(*request_.directory) : std::nullopt;
    if (!folder || !IsFolder(*folder)) return std::nullopt;
    return Absolute(std::move(*folder));
  }

  Answer Started(int error, const std::string& host) const {
    if (error == 0) return std::nullopt;
    if (error == kNoWorkingFolder) {
      return Refusal{SE_ERR_PNF, ERROR_PATH_NOT_FOUND,
                     u"the working folder \"" + Shortened(request_.directory.value_or(u"")) + u"\" does not exist.",
                     host};
    }
    return FromErrno(error, u"it could not be started (" + ErrnoText(error) + u").", host);
  }

  static constexpr int kNoWorkingFolder = -1;  // no errno is negative

  const std::string& prefix_;
  const core::PathMapping* mapping_;
  const core::ShellExecuteRequest& request_;
};

// The platform's shell captions its errors with the name of what it could not open: the
// last part of a path, or a whole address.
std::u16string CaptionFor(std::u16string_view file) {
  if (file.empty()) return u"Open";
  const std::optional<std::string> text = Utf::StrictUtf8(file);
  const std::optional<std::string> scheme = text ? SchemeOf(*text) : std::nullopt;
  if (scheme && *scheme != "file") return Shortened(file);
  std::u16string_view name(file);
  while (name.size() > 1 && (name.back() == u'\\' || name.back() == u'/')) name.remove_suffix(1);
  const std::size_t separator = name.find_last_of(u"\\/");
  if (separator != std::u16string_view::npos) name.remove_prefix(separator + 1);
  return Shortened(name);
}

std::u16string MessageFor(std::u16string_view file, const Refusal& refusal) {
  std::u16string text = file.empty() ? u"Cannot open: " : u"Cannot open \"" + Shortened(file) + u"\": ";
  text += refusal.reason;
  if (!refusal.hostPath.empty()) text += u"\nOn this computer: " + Shortened(Utf::LenientUtf16(refusal.hostPath));
  return text;
}

}  // namespace

PosixShell::PosixShell(std::string prefix, std::shared_ptr<const core::PathMapping> mapping)
    : prefix_(Absolute(std::move(prefix))), mapping_(std::move(mapping)) {}

core::ShellExecuteOutcome PosixShell::Execute(const core::ShellExecuteRequest& request) const {
  const Answer refusal = Opening(prefix_, mapping_.get(), request).Open();
  if (!refusal) return core::ShellExecuteOutcome{kOpened, ERROR_SUCCESS};
  const std::u16string text = MessageFor(request.file, *refusal);
  MessageBoxW(request.owner, text.c_str(), CaptionFor(request.file).c_str(), MB_OK | MB_ICONERROR);
  return core::ShellExecuteOutcome{refusal->result, refusal->error};
}

}  // namespace posix
