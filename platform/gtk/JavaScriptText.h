// The scripts the WebKit view runs in its pages. Every text from the host reaches a script
// as a string literal (JavaScriptStringLiteral), never spliced in raw, so that no quote,
// backslash, line separator or "</script>" in a page's text can end the literal early.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace gtkui {

// A double-quoted literal that JavaScript and JSON both read back as exactly these UTF-16
// units, lone surrogates included. Only printable ASCII other than " \ ' < > & is written
// as it is; every other unit becomes \uXXXX, so the literal is plain ASCII.
std::string JavaScriptStringLiteral(std::u16string_view text);

// One style sheet of the host: rules in the sheet's order, after an @import of href when
// the sheet was made with one.
struct HostStyleSheet {
  std::u16string href;
  LONG index = -1;  // where among the document's sheets: 0 first, -1 (or past the end) last
  std::vector<std::pair<std::u16string, std::u16string>> rules;  // selector, declarations
};

// The sheet's CSS text.
std::u16string StyleSheetText(const HostStyleSheet& sheet);

// Puts the sheet's text into the page as a <style> element marked with id: made on the first
// call, at the sheet's index among the document's style sheets (so index 0 stands before the
// page's own sheets), and given the new text on later calls. When the page has no <head> yet
// (the document was just committed), the script waits for the parser to make one.
std::string StyleSheetScript(UINT_PTR id, const HostStyleSheet& sheet);

// Scripts on the element with the given id; their values: whether it exists, its inner HTML
// (null without the element), whether it was found and given the new inner HTML.
std::string ElementExistsScript(std::u16string_view id);
std::string ElementHtmlScript(std::u16string_view id);
std::string SetElementHtmlScript(std::u16string_view id, std::u16string_view html);

}  // namespace gtkui
