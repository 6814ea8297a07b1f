// Error messages of the launcher itself, shown to the user in a message box with the
// launcher's caption.
#pragma once

#include <exception>

#include "foundation/CopiedUString.h"
#include "foundation/UStringRef.h"

inline constexpr const char16_t* kLauncherCaption = u"Tessarin Installation Guide";

// Shows text (UTF-8; malformed bytes are shown replaced) and returns when the user closed
// the box. No owner: the launcher's window is gone, or was never shown, by then.
void ShowLauncherError(UStringRef<UTF8> text);

// What an error says, for the user: the foundation's exceptions carry UTF-8 texts, others only
// their narrow what().
CopiedUString<UTF8> ErrorText(const std::exception& error);
