#include "resizable/DialogTemplateRewriter.h"

#include <string>

#include "DialogTemplateReader.h"
#include "DialogTemplateWriter.h"
#include "foundation/ExceptionPL.h"

namespace {

[[noreturn]] void RaiseTemplateError(const std::string& message) {
  throw ExceptionPL(UStringRef<UTF8>(std::string_view(message)));
}

}  // namespace

bool IsExtendedDialogTemplate(const void* data, std::size_t size) {
  if (size < 4) return false;
  const BYTE* p = static_cast<const BYTE*>(data);
  return p[2] == 0xFF && p[3] == 0xFF;
}

std::vector<BYTE> DialogTemplateRewriter::Rewrite(const void* data, std::size_t size) const {
  if (data == nullptr && size != 0) RaiseTemplateError("Dialog template has no bytes");
  const DialogTemplateReadResult read = ReadDialogTemplate(data, size);
  if (!read.ok)
    RaiseTemplateError("Dialog template refused, its " + read.problem + " missing or malformed (template size " +
                       std::to_string(size) + ")");
  DialogTemplateChanges changes;
  changes.retitle = [this](std::basic_string_view<WCHAR> text) {
    const CopiedUString<UTF16> rewritten = rewrite_(UStringRef<UTF16>(text));
    return std::basic_string<WCHAR>(rewritten.Ref().view());
  };
  return WriteDialogTemplate(data, read.dialog, changes);
}
