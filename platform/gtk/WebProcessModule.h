// The module that WebKit's web processes load for the browser views (webprocess/PageExtension):
// it runs the views' scripts in their pages and answers with plain values. It lies beside the
// executable in the build tree, and in the program's folder under the library directory once
// installed; both places are taken relative to the executable, so that the program works
// wherever it is installed or moved with its module.
#pragma once

#include <optional>
#include <string>

typedef struct _WebKitWebContext WebKitWebContext;

namespace gtkui {

// The folder that holds the module for an executable in executableFolder; nothing when
// neither place has it.
std::optional<std::string> FindWebProcessModule(const std::string& executableFolder);

// Has the context's web processes load the module, which runs the views' scripts in the
// world with this name. Without a module it returns false, after one line on standard error
// (once per process) that says what is missing: pages still show, but nothing in them
// answers the views.
bool PrepareWebProcessModule(WebKitWebContext* context, const char* worldName);

}  // namespace gtkui
