// What the user reads when the guide page cannot be located: the registry key and value that
// could not be read, and the error's own text.
#pragma once

#include <exception>

#include "app/GuideLocation.h"
#include "foundation/CopiedUString.h"

// `progress` is where the lookup was when `error` arose: the key that could not be opened,
// the value that could not be read, or neither when the failure came after the reads.
// UTF-8, with line breaks between its paragraphs.
CopiedUString<UTF8> DescribeGuideLookupFailure(const GuideLookupProgress& progress, const std::exception& error);
