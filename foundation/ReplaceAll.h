// Replaces every occurrence of a pattern in a UTF-16 text.
#pragma once

#include "foundation/CopiedUString.h"

// Searches from the start and goes on after each replacement, so a replacement is never
// searched again. An empty pattern leaves the text as it is.
CopiedUString<UTF16> ReplaceAll(UStringRef<UTF16> text, UStringRef<UTF16> pattern, UStringRef<UTF16> replacement);
