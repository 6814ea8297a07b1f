// Templates with named variables in braces. Values are paired with the template's value
// variables in the order they occur; the names let an override place the same values
// elsewhere, repeat them or leave them out.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

#include "foundation/CopiedUString.h"

struct FormatTemplate {
  // The template as the calling code wrote it: overrides are found by it and values are
  // bound against it.
  UStringRef<UTF8> key;
  // The template that is rendered: an override, or the key itself.
  UStringRef<UTF8> effective;
};

// The key with its override from the current override context, or itself when none.
FormatTemplate MakeFormatTemplate(UStringRef<UTF8> text);

using FormatValues = std::span<const UStringRef<UTF8>>;

// Binds the values against the key, then renders the effective template. Throws the
// formatting exceptions of LibraryExceptions.h for a malformed template or a count mismatch.
CopiedUString<UTF8> Format(const FormatTemplate& format, FormatValues values);
CopiedUString<UTF8> Format(const FormatTemplate& format, std::initializer_list<UStringRef<UTF8>> values = {});

// A plain template text serves as both key and effective template.
CopiedUString<UTF8> Format(UStringRef<UTF8> text, FormatValues values);
CopiedUString<UTF8> Format(UStringRef<UTF8> text, std::initializer_list<UStringRef<UTF8>> values = {});

inline CopiedUString<UTF8> Format(std::string_view text, std::initializer_list<UStringRef<UTF8>> values = {}) {
  return Format(UStringRef<UTF8>(text), values);
}
