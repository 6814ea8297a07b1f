// The style that gives a page's body the system's message font, and brings back the scroll
// bars that the browser host's flags take away where the content overflows.
#pragma once

#include <windows.h>

#include "foundation/CopiedUString.h"

// "font-family: ...; font-size: ...; font-weight: ...; font-style: ...; overflow: auto" for
// the font: its face name, the magnitude of its height, its weight, and italic or normal.
CopiedUString<UTF8> MessageFontStyle(const LOGFONTW& font);
