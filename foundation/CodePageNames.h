// The names of the platform's Windows code pages, "windows-1250" to "windows-950", as one
// ordered set (byte order).
#pragma once

#include <set>

#include "foundation/CopiedUString.h"
#include "foundation/UStringLess.h"

using CodePageNameSet = std::set<CopiedUString<UTF8>, UStringLess<UTF8>>;

// Made before main starts and destroyed at exit.
const CodePageNameSet& WindowsCodePageNames();
