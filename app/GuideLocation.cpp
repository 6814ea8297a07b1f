#include "app/GuideLocation.h"

#include <string_view>

#include "WideText.h"
#include "app/RegistryReading.h"
#include "foundation/Ascii.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr std::string_view kEvaluationType = "EvalExpress";
constexpr std::string_view kEvaluationGuide = "TsrEvalInstallationGuide\\Content\\runvane.html";
constexpr std::string_view kNormalGuide = "TsrInstallationGuide\\Content\\runvane.html";

// Each value is read with a key of its own, closed before its text is converted.
CopiedUString<UTF8> ReadGeneratorValue(LPCWSTR name, GuideLookupProgress& progress) {
  progress.valueName = name;
  progress.keyOpened = false;
  WString text;
  {
    const RegistryKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, kGeneratorKeyPath, KEY_READ);
    progress.keyOpened = true;
    text = ReadRegistryString(key.Get(), name);
  }
  return TranscodeU16ToU8(UStringRef<UTF16>(WStringView(text)));
}

bool EndsWithSeparator(UStringRef<UTF8> folder) {
  return !folder.empty() && (folder.end()[-1] == '\\' || folder.end()[-1] == '/');
}

}  // namespace

CopiedUString<UTF8> LocateGuidePage() {
  GuideLookupProgress progress;
  return LocateGuidePage(progress);
}

CopiedUString<UTF8> LocateGuidePage(GuideLookupProgress& progress) {
  const CopiedUString<UTF8> installFolder = ReadGeneratorValue(WIDE("InstallFolder"), progress);
  const CopiedUString<UTF8> evalType = ReadGeneratorValue(WIDE("EvalType"), progress);
  progress = GuideLookupProgress{};

  const bool evaluation =
      !evalType.empty() && Ascii::EqualsIgnoringCase(evalType.Ref(), UStringRef<UTF8>(kEvaluationType));
  const UStringRef<UTF8> guide(evaluation ? kEvaluationGuide : kNormalGuide);

  // A folder recorded without its trailing separator still names the folder: joining it
  // straight to the guide would name a sibling ("C:\GenTsr...") that cannot be meant.
  if (installFolder.empty() || EndsWithSeparator(installFolder.Ref())) return ConcatenateText(installFolder.Ref(), guide);
  CopiedUString<UTF8> folder(installFolder);
  folder.Append('\\');
  return ConcatenateText(folder.Ref(), guide);
}
