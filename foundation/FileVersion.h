// The fixed version record of a file's version resource.
#pragma once

#include <memory>

#include <windows.h>
#include <winver.h>

#include "foundation/FileLocation.h"

// A copy of the file's 52-byte VS_FIXEDFILEINFO from its language-neutral resource, or null
// when the file has none or any step fails. With `switchOffRedirection` the reads run with
// WOW64 file-system redirection switched off.
std::unique_ptr<VS_FIXEDFILEINFO> ReadFileVersion(const FileLocation& location, bool switchOffRedirection);
