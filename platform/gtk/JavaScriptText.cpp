#include "gtk/JavaScriptText.h"

namespace gtkui {

namespace {

bool KeptInLiteral(char16_t unit) {
  if (unit < 0x20 || unit > 0x7E) return false;
  switch (unit) {
    case u'"': case u'\\': case u'\'': case u'<': case u'>': case u'&':
      return false;
    default:
      return true;
  }
}

// A CSS string for @import: quotes, backslashes and line breaks escaped as CSS escapes.
std::u16string CssString(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t unit : text) {
    switch (unit) {
      case u'"': out += u"\\22 "; break;
      case u'\\': out += u"\\5c "; break;
      case u'\n': out += u"\\a "; break;
      case u'\r': out += u"\\d "; break;
      case u'\f': out += u"\\c "; break;
      default: out += unit; break;
    }
  }
  return out + u"\"";
}

constexpr char kStyleSheetFunction[] =
    "(function (id, index, css) {\n"
    "  var attribute = 'data-tsr-sheet';\n"
    "  function place() {\n"
    "    var head = document.head;\n"
    "    if (!head) return false;\n"
    "    var style = document.querySelector('style[' + attribute + '=\"' + id + '\"]');\n"
    "    if (!style) {\n"
    "      style = document.createElement('style');\n"
    "      style.setAttribute(attribute, id);\n"
    "      var owners = document.querySelectorAll('style, link[rel~=\"stylesheet\" i]');\n"
    "      var before = index >= 0 && index < owners.length ? owners[index] : null;\n"
    "      if (before && before.parentNode) before.parentNode.insertBefore(style, before);\n"
    "      else head.appendChild(style);\n"
    "    }\n"
    "    style.textContent = css;\n"
    "    return true;\n"
    "  }\n"
    "  if (place()) return true;\n"
    "  var observer = new MutationObserver(function () { if (place()) observer.disconnect(); });\n"
    "  observer.observe(document, { childList: true, subtree: true });\n"
    "  return false;\n"
    "})";

}  // namespace

std::string JavaScriptStringLiteral(std::u16string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  out.reserve(text.size() + 2);
  for (char16_t unit : text) {
    if (KeptInLiteral(unit)) {
      out += static_cast<char>(unit);
      continue;
    }
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
  }
  return out + "\"";
}

std::u16string StyleSheetText(const HostStyleSheet& sheet) {
  std::u16string text;
  if (!sheet.href.empty()) text += u"@import url(" + CssString(sheet.href) + u");\n";
  for (const auto& [selector, declarations] : sheet.rules) text += selector + u" { " + declarations + u" }\n";
  return text;
}

std::string StyleSheetScript(UINT_PTR id, const HostStyleSheet& sheet) {
  return std::string(kStyleSheetFunction) + "(\"" + std::to_string(id) + "\", " + std::to_string(sheet.index) + ", " +
         JavaScriptStringLiteral(StyleSheetText(sheet)) + ");";
}

std::string ElementExistsScript(std::u16string_view id) {
  return "(function (id) { return document.getElementById(id) !== null; })(" + JavaScriptStringLiteral(id) + ");";
}

std::string ElementHtmlScript(std::u16string_view id) {
  return "(function (id) { var e = document.getElementById(id); return e ? e.innerHTML : null; })(" +
         JavaScriptStringLiteral(id) + ");";
}

std::string SetElementHtmlScript(std::u16string_view id, std::u16string_view html) {
  return "(function (id, html) { var e = document.getElementById(id); if (!e) return false; e.innerHTML = html; "
         "return true; })(" +
         JavaScriptStringLiteral(id) + ", " + JavaScriptStringLiteral(html) + ");";
}

}  // namespace gtkui
