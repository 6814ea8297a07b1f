// What the user reads when the guide page cannot be located: the registry key and value that
// could not be read, and the error's own text.
#pragma once

#include <exception>

#include <windows.h>

#include "foundation/CopiedUString.h"

// valueName is the value being read when `error` arose (GuideLookupProgress), or null when
// the failure came after the reads. UTF-8, with line breaks between its paragraphs.
CopiedUString<UTF8> DescribeGuideLookupFailure(LPCWSTR valueName, const std::exception& error);
