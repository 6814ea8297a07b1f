// What the user reads when the guide page was located but cannot be shown: which file, and
// why (it is missing, a folder on its way is missing, a link on its way leads back to itself,
// reading it is not allowed ...). The window shows it as a page of its own, and the same text
// is a line on standard error.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

#include "foundation/CopiedUString.h"
#include "foundation/UStringRef.h"

// The message when the page cannot be shown, found without loading it: a path that is not a
// full one (a drive and a separator, or a network share), or one whose attributes
// (GetFileAttributesW) are missing or name a folder or a device. Nothing when the page may be loaded.
std::optional<CopiedUString<UTF8>> FindGuidePageFailure(UStringRef<UTF8> page);

// The message when the browser could not load the page (its navigate-error status): the
// reason the file's attributes give now, else the status.
CopiedUString<UTF8> DescribeGuidePageLoadFailure(UStringRef<UTF8> page, LONG status);

// Whether a navigation address the browser reports names the page: the path itself, or a
// file address of it ("file:///C:/Gen/a%20b.html"), separators and ASCII letter case aside.
bool NamesGuidePage(UStringRef<UTF8> address, UStringRef<UTF8> page);

// The page that shows a message: a heading and the message's paragraphs, as HTML that names
// nothing outside itself (the message's text is escaped).
std::string GuidePageFailureHtml(UStringRef<UTF8> message);
