#include "gtk/WebKitCommandPrefixes.h"

#include <webkit2/webkit2.h>

#include "gtk/TextConversion.h"

namespace gtkui {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string text) {
  for (char& c : text) c = Lower(c);
  return text;
}

// A URL scheme: a letter, then letters, digits, "+", "-" and ".".
bool IsScheme(std::string_view text) {
  if (text.empty() || !((text[0] >= 'a' && text[0] <= 'z'))) return false;
  for (char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')) return false;
  return true;
}

// The scheme that every target with this prefix has, or "".
std::string SchemeOf(const std::string& prefix) {
  const std::size_t colon = prefix.find(':');
  if (colon == std::string::npos || !IsScheme(std::string_view(prefix).substr(0, colon))) return std::string();
  return prefix.substr(0, colon);
}

}  // namespace

void WebKitCommandPrefixes::Set(const std::vector<std::u16string>& prefixes) {
  prefixes_.clear();
  for (const std::u16string& prefix : prefixes) {
    if (prefix.empty()) continue;
    std::string text = Lowered(Utf8Of(prefix));
    const bool guarded = !SchemeOf(text).empty();
    prefixes_.push_back(Prefix{std::move(text), guarded});
  }
}

void WebKitCommandPrefixes::Register(WebKitSecurityManager* manager) const {
  for (const Prefix& prefix : prefixes_) {
    const std::string scheme = SchemeOf(prefix.text);
    if (!scheme.empty()) webkit_security_manager_register_uri_scheme_as_local(manager, scheme.c_str());
  }
}

WebKitCommandPrefixes::Match WebKitCommandPrefixes::Of(std::string_view target) const {
  Match match = Match::None;
  for (const Prefix& prefix : prefixes_) {
    if (target.size() < prefix.text.size()) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < prefix.text.size(); ++i) same = Lower(target[i]) == prefix.text[i];
    if (!same) continue;
    // One unguarded match is enough to leave the asker unknown.
    if (!prefix.guarded) return Match::Unguarded;
    match = Match::Guarded;
  }
  return match;
}

}  // namespace gtkui
