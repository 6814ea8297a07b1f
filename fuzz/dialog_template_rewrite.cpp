// The dialog template copy on arbitrary bytes: it never reads outside the template (the
// sanitizers check), it refuses only with ExceptionPL, and a template it accepted comes back
// unchanged when copied again with texts left as they are.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "foundation/ExceptionPL.h"
#include "resizable/DialogTemplateRewriter.h"

namespace {

CopiedUString<UTF16> SameText(UStringRef<UTF16> text) { return CopiedUString<UTF16>(text); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read one byte past the end is caught.
  const std::vector<BYTE> bytes(data, data + size);
  const DialogTemplateRewriter rewriter(SameText);
  std::vector<BYTE> copy;
  try {
    copy = rewriter.Rewrite(bytes.data(), bytes.size());
  } catch (const ExceptionPL&) {
    return 0;
  }
  std::vector<BYTE> again;
  try {
    again = rewriter.Rewrite(copy.data(), copy.size());
  } catch (const ExceptionPL&) {
    std::abort();  // its own output must be a readable template
  }
  if (again != copy) std::abort();
  return 0;
}
