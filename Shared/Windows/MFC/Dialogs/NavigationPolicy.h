// Where an HTML dialog that keeps its default before-navigate hook sends an address once its
// listeners have let it pass and a current document is held: web and mail addresses to the
// user's default programs, existing local files and script addresses into the page, and
// everything else to a new browser window.
#pragma once

#include "foundation/UStringRef.h"

enum class NavigationAction {
  HandedToShell,    // the shell opened it: cancel the navigation
  LoadInPlace,      // let the browser load it
  OpenInNewWindow,  // navigate a new window there and cancel this navigation
};

// Tests in a fixed order: "http:" / "https:" (shell verb "open"), "mailto:" (default verb),
// an existing local file ("file:" addresses by the path they name, anything else as a
// path), "javascript:". An address the shell fails to open goes on to the later tests.
// Errors reading a "file:" address or converting a path leave this function.
NavigationAction DecideNavigation(UStringRef<UTF8> target);
