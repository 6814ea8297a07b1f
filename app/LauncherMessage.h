// Error messages of the launcher itself, shown to the user in a message box with the
// launcher's caption.
#pragma once

#include "foundation/UStringRef.h"

inline constexpr const char16_t* kLauncherCaption = u"Tessarin Installation Guide";

// Shows text (UTF-8; malformed bytes are shown replaced) and returns when the user closed
// the box. No owner: the launcher's window is gone, or was never shown, by then.
void ShowLauncherError(UStringRef<UTF8> text);
