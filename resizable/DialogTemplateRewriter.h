// Copies a dialog template (either form) while sending its caption and every control text
// through a text rewrite; everything else is copied as it is. The reading never leaves the
// bytes it was given: a template that ends early, a count that promises more than is there,
// or a text without its terminator raises ExceptionPL naming what was missing.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include <windows.h>
#include <windef.h>

#include "foundation/CopiedUString.h"

class DialogTemplateRewriter {
 public:
  using TextRewrite = std::function<CopiedUString<UTF16>(UStringRef<UTF16>)>;

  explicit DialogTemplateRewriter(TextRewrite rewrite) : rewrite_(std::move(rewrite)) {}

  // The rewritten template; bytes after the last item are not copied.
  std::vector<BYTE> Rewrite(const void* data, std::size_t size) const;

 private:
  TextRewrite rewrite_;
};

// The extended form (DLGTEMPLATEEX) has 0xFFFF as its second 16-bit word.
bool IsExtendedDialogTemplate(const void* data, std::size_t size);
