#include "app/GuidePageFailure.h"

#include <string_view>

#include "app/LauncherMessage.h"
#include "foundation/Ascii.h"
#include "foundation/FormatTemplate.h"
#include "foundation/NumberText.h"
#include "foundation/PathRoot.h"
#include "foundation/TextEncoding.h"
#include "foundation/URLInfo.h"
#include "foundation/WindowsError.h"

namespace {

constexpr std::string_view kReinstall = "\n\nPlease install the Tessarin Installation Generator again.";

constexpr std::string_view kNotFullPath =
    "The installation guide cannot be shown: its page \"{file}\" is not a full path, because the install folder "
    "that the registry records for the Tessarin Installation Generator is empty or not a full path.";
constexpr std::string_view kNoFile = "The installation guide cannot be shown: there is no file \"{file}\".";
constexpr std::string_view kNoFolder =
    "The installation guide cannot be shown: a folder on the way to \"{file}\" does not exist.";
constexpr std::string_view kLinkLoop =
    "The installation guide cannot be shown: the way to \"{file}\" passes a link that leads back to itself.";
constexpr std::string_view kNotAllowed =
    "The installation guide cannot be shown: you are not allowed to read \"{file}\".";
constexpr std::string_view kFolder = "The installation guide cannot be shown: \"{file}\" is a folder, not a page.";
constexpr std::string_view kDevice =
    "The installation guide cannot be shown: \"{file}\" is a device or a pipe, not a page.";
constexpr std::string_view kOtherError = "The installation guide cannot be shown: \"{file}\" cannot be read. {error}";
constexpr std::string_view kNotLoaded =
    "The installation guide cannot be shown: \"{file}\" could not be loaded (error 0x{status}).";

CopiedUString<UTF8> Message(std::string_view wording, UStringRef<UTF8> page) {
  const CopiedUString<UTF8> file = NameForMessage(page);
  CopiedUString<UTF8> text = Format(UStringRef<UTF8>(wording), {file.Ref()});
  text.Append(UStringRef<UTF8>(kReinstall));
  return text;
}

// The platform's own codes for a file that cannot be reached, in the launcher's words.
CopiedUString<UTF8> DescribeAttributeError(UStringRef<UTF8> page, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return Message(kNoFile, page);
    case ERROR_PATH_NOT_FOUND:
      return Message(kNoFolder, page);
    case ERROR_CANT_RESOLVE_FILENAME:
      return Message(kLinkLoop, page);
    case ERROR_ACCESS_DENIED:
      return Message(kNotAllowed, page);
    default: {
      const CopiedUString<UTF8> file = NameForMessage(page);
      const CopiedUString<UTF8> reason = WindowsErrorText(error);
      CopiedUString<UTF8> text = Format(UStringRef<UTF8>(kOtherError), {file.Ref(), reason.Ref()});
      text.Append(UStringRef<UTF8>(kReinstall));
      return text;
    }
  }
}

// A drive with a separator after it, or a share: "C:x" and "\x" depend on the process's
// current drive and folder, which the guide's place must not.
bool IsFullPath(UStringRef<UTF8> path) {
  const PathRoot root = ClassifyPathRoot(path);
  if (root.isUnc) return !root.isRootOnly;
  return root.hasDrive && path.size() > 2 && (path[2] == '\\' || path[2] == '/');
}

// The attributes, or the platform's reason why there are none.
std::optional<DWORD> AttributesOf(UStringRef<UTF8> page, DWORD& error) {
  const TerminatedU16 wide = MakeTerminatedU16(TranscodeU8ToU16(page));
  SetLastError(ERROR_SUCCESS);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = GetLastError();
    return std::nullopt;
  }
  return attributes;
}

char FoldSeparator(char c) { return c == '/' ? '\\' : c; }

bool SamePath(UStringRef<UTF8> a, UStringRef<UTF8> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Ascii::ToLower(FoldSeparator(a[i])) != Ascii::ToLower(FoldSeparator(b[i]))) return false;
  return true;
}

void AppendEscaped(std::string& html, UStringRef<UTF8> text) {
  for (const char c : text) {
    switch (c) {
      case '&': html += "&amp;"; break;
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '"': html += "&quot;"; break;
      case '\'': html += "&#39;"; break;
      default: html += c; break;
    }
  }
}

constexpr std::string_view kPageStart =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Tessarin Installation Guide</title><style>"
    "body{margin:0;padding:24px 32px;background:#f3f5f8;color:#1d2430;font:15px/1.5 sans-serif}"
    "h1{font-size:20px;font-weight:600;margin:0 0 16px;padding-bottom:8px;border-bottom:3px solid #b8322e}"
    "p{margin:0 0 12px;max-width:60em;overflow-wrap:anywhere}"
    "</style></head><body><h1>The installation guide cannot be shown</h1>";

}  // namespace

std::optional<CopiedUString<UTF8>> FindGuidePageFailure(UStringRef<UTF8> page) {
  if (!IsFullPath(page)) return Message(kNotFullPath, page);
  DWORD error = ERROR_SUCCESS;
  const std::optional<DWORD> attributes = AttributesOf(page, error);
  if (!attributes) return DescribeAttributeError(page, error);
  if ((*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Message(kFolder, page);
  // Loading a named pipe would wait for a writer for ever.
  if ((*attributes & FILE_ATTRIBUTE_DEVICE) != 0) return Message(kDevice, page);
  return std::nullopt;
}

CopiedUString<UTF8> DescribeGuidePageLoadFailure(UStringRef<UTF8> page, LONG status) {
  if (std::optional<CopiedUString<UTF8>> found = FindGuidePageFailure(page)) return std::move(*found);
  const CopiedUString<UTF8> file = NameForMessage(page);
  const auto code = ToHexText(static_cast<std::uint32_t>(status));
  const UStringRef<UTF8> codeText(code.begin(), code.end());
  CopiedUString<UTF8> text = Format(UStringRef<UTF8>(kNotLoaded), {file.Ref(), codeText});
  text.Append(UStringRef<UTF8>(kReinstall));
  return text;
}

bool NamesGuidePage(UStringRef<UTF8> address, UStringRef<UTF8> page) {
  if (SamePath(address, page)) return true;
  if (!Ascii::StartsWithIgnoringCase(address, UStringRef<UTF8>(std::string_view("file:")))) return false;
  try {
    return SamePath(URLInfo(address).ToFileLocation().Path().Ref(), page);
  } catch (const std::exception&) {
    // An address that names no file names no page either.
    return false;
  }
}

std::string GuidePageFailureHtml(UStringRef<UTF8> message) {
  std::string html(kPageStart);
  const std::string_view text = message.view();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find("\n\n", start);
    if (end == std::string_view::npos) end = text.size();
    html += "<p>";
    AppendEscaped(html, UStringRef<UTF8>(text.substr(start, end - start)));
    html += "</p>";
    start = end + 2;
  }
  html += "</body></html>";
  return html;
}
