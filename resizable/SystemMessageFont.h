// The desktop's message font, which dialogs and pages take for their text.
#pragma once

#include <windows.h>

// The message font of the non-client metrics; raises Windows::Error when they cannot be read.
LOGFONTW SystemMessageFont();
