// The path every text of a dialog template takes, so that an override table can replace any
// caption or control text: UTF-8, escaped into a template that renders as the text itself,
// looked up in the current override context, rendered with no values, back to UTF-16.
#pragma once

#include "foundation/CopiedUString.h"

CopiedUString<UTF16> DialogTextPath(UStringRef<UTF16> text);
