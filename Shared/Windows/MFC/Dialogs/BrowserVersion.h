// Dotted version texts and the check whether the system's web browser is version 7 or later,
// which decides whether pages are styled with the system's message font.
#pragma once

#include "foundation/DottedVersion.h"
#include "foundation/UStringRef.h"

// Up to four decimal components of at most 65535, separated by "." or ",". Empty components
// count as 0 ("7..1" is 7.0.1). Anything else, and more than four components, gives the
// "no version" value 0.0.0.0 with a count of 4, as does an empty text.
DottedVersion ParseDottedVersion(UStringRef<UTF8> text);

// Compares over the components both versions have; equal components up to there count as
// at least.
bool IsVersionAtLeast(const DottedVersion& version, const DottedVersion& minimum);

// The browser's "Version" value under HKEY_LOCAL_MACHINE "Software\Microsoft\Internet
// Explorer", read afresh. A missing key or value, or one that is not text, is no version.
bool ReadBrowserVersionAtLeast7();

// ReadBrowserVersionAtLeast7 on the first call of the process, then its remembered answer.
// A read that raises leaves nothing remembered, so the next call reads again.
bool IsBrowserVersionAtLeast7();

// Drops the remembered answer. The running browser does not change under a process; this is
// for tests, which install one registry after another.
void ForgetBrowserVersion();
