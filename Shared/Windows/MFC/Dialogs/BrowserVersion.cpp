#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>

#include <windows.h>

#include "WideText.h"
#include "foundation/RegistryTryReads.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr std::uint32_t kLargestComponent = 65535;
constexpr std::uint32_t kMostComponents = 4;

const DottedVersion kNoVersion{};

bool IsSeparator(char byte) { return byte == '.' || byte == ','; }

void Store(DottedVersion& version, std::uint32_t value) {
  std::uint32_t* components[] = {&version.major, &version.minor, &version.build, &version.revision};
  *components[version.count] = value;
  ++version.count;
}

std::uint32_t Component(const DottedVersion& version, std::uint32_t index) {
  const std::uint32_t components[] = {version.major, version.minor, version.build, version.revision};
  return components[index];
}

WString ReadBrowserVersionText() {
  RegistryKey key;
  WString text;
  if (TryOpenRegistryKey(HKEY_LOCAL_MACHINE, WIDE("Software\\Microsoft\\Internet Explorer"), key, KEY_READ) != ERROR_SUCCESS) {
    return text;
  }
  if (TryReadRegistryString(key.Get(), WIDE("Version"), text) != ERROR_SUCCESS) text.clear();
  return text;
}

std::mutex cacheLock;
std::optional<bool> cachedAnswer;

}  // namespace

DottedVersion ParseDottedVersion(UStringRef<UTF8> text) {
  if (text.empty()) return kNoVersion;
  DottedVersion version;
  version.count = 0;
  std::uint32_t value = 0;
  const std::size_t length = text.size();
  for (std::size_t i = 0; i <= length; ++i) {
    if (i < length && !IsSeparator(text[i])) {
      const char byte = text[i];
      if (byte < '0' || byte > '9') return kNoVersion;
      value = value * 10 + static_cast<std::uint32_t>(byte - '0');
      if (value > kLargestComponent) return kNoVersion;
      continue;
    }
    Store(version, value);
    value = 0;
    if (version.count == kMostComponents && i < length) return kNoVersion;
  }
  return version;
}

bool IsVersionAtLeast(const DottedVersion& version, const DottedVersion& minimum) {
  const std::uint32_t compared = std::min({version.count, minimum.count, kMostComponents});
  for (std::uint32_t i = 0; i < compared; ++i) {
    const std::uint32_t have = Component(version, i);
    const std::uint32_t want = Component(minimum, i);
    if (have != want) return have > want;
  }
  return true;
}

bool ReadBrowserVersionAtLeast7() {
  const WString text = ReadBrowserVersionText();
  const CopiedUString<UTF8> utf8 = TranscodeU16ToU8(UStringRef<UTF16>(text));
  return IsVersionAtLeast(ParseDottedVersion(utf8), DottedVersion{7, 0, 0, 0, 4});
}

bool IsBrowserVersionAtLeast7() {
  // Callers that arrive while the answer is being made wait for it under the lock.
  std::lock_guard<std::mutex> hold(cacheLock);
  if (!cachedAnswer) cachedAnswer = ReadBrowserVersionAtLeast7();
  return *cachedAnswer;
}

void ForgetBrowserVersion() {
  std::lock_guard<std::mutex> hold(cacheLock);
  cachedAnswer.reset();
}
