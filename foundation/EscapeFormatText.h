// Turns any text into a template that renders as that text: the syntax bytes "{" "}" and the
// line-control bytes tab, line feed and carriage return become specials.
#pragma once

#include <optional>

#include "foundation/CopiedUString.h"

// A view of the escaped text. When nothing needed escaping it is the input itself and the
// caller keeps that alive; otherwise the text is owned here.
class EscapedFormatText {
 public:
  explicit EscapedFormatText(UStringRef<UTF8> unchanged) : unchanged_(unchanged) {}
  explicit EscapedFormatText(CopiedUString<UTF8>&& escaped) : escaped_(std::move(escaped)) {}

  // Computed on each call: the owned text moves with the object, so no view into it is kept.
  UStringRef<UTF8> Ref() const { return escaped_ ? escaped_->Ref() : unchanged_; }
  operator UStringRef<UTF8>() const { return Ref(); }
  bool OwnsText() const { return escaped_.has_value(); }

 private:
  UStringRef<UTF8> unchanged_;
  std::optional<CopiedUString<UTF8>> escaped_;
};

EscapedFormatText EscapeFormatText(UStringRef<UTF8> text);
