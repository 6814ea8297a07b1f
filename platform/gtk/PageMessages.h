// The user messages between a WebKitBrowserView and its module in WebKit's web process
// (webprocess/PageExtension). Only GVariants cross between the two: a script value that the
// view's own process read would start a JavaScriptCore engine there, a few MiB for a yes or
// a text.
//
// Included by both sides, which cannot share a WebKit header: the view's and the web
// process's APIs refuse to be included together.
#pragma once

namespace gtkui::pagemessages {

// Module initialisation data ("s"): the name of the script world the view's scripts run in.

// To the page ("s"): a script for the top-level document, run in the view's world. No answer.
inline constexpr char kRunScript[] = "tsr-run-script";

// To the page ("s"): the same, answered with the script's value: "b" for a boolean, "s" for a
// string, "()" for any other value, and no parameters at all when the script threw.
inline constexpr char kEvaluateScript[] = "tsr-evaluate-script";

// From the page ("b"): whether the top-level document's selection holds anything; sent when
// the document is loaded and on every change of the selection.
inline constexpr char kSelection[] = "tsr-selection";

}  // namespace gtkui::pagemessages
