// Error messages of the launcher itself, shown to the user in a message box with the
// launcher's caption.
#pragma once

#include <cstddef>
#include <exception>

#include "WideText.h"
#include "foundation/CopiedUString.h"
#include "foundation/UStringRef.h"

inline constexpr const WCHAR* kLauncherCaption = WIDE("Tessarin Installation Guide");

// Shows text (UTF-8; malformed bytes are shown replaced) and returns when the user closed
// the box. No owner: the launcher's window is gone, or was never shown, by then.
void ShowLauncherError(UStringRef<UTF8> text);

// The same text as one line on standard error, the way every message box of the launcher
// also writes its text: "Tessarin Installation Guide: text", each line break a blank. For a
// message that is shown in the window itself rather than in a box.
void WriteLauncherLine(UStringRef<UTF8> text);

// A file name or address as a message names it: whole up to kLongestNameInMessage
// characters, else its first ones and "…", so that a message stays readable whatever it names.
// A cut never splits a character.
inline constexpr std::size_t kLongestNameInMessage = 300;
CopiedUString<UTF8> NameForMessage(UStringRef<UTF8> name);

// What an error says, for the user: the foundation's exceptions carry UTF-8 texts, others only
// their narrow what().
CopiedUString<UTF8> ErrorText(const std::exception& error);
