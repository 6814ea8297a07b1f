// The host's command prefixes ("openexecutable:", "close:" ...) as the WebKit engine guards
// them. A prefix that is a scheme and its colon is registered with the web context's
// security manager as a local scheme: WebKit then refuses a navigation to it from every
// document that may not load local files (a page from the web, a data: document) before it
// asks the view, so that a command the view does hear of was asked for by a local document.
// A prefix that is no scheme cannot be guarded that way; the view vouches for no asker of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

typedef struct _WebKitSecurityManager WebKitSecurityManager;

namespace gtkui {

class WebKitCommandPrefixes {
 public:
  enum class Match {
    None,       // no command: an address
    Guarded,    // a command WebKit lets only a local document ask for
    Unguarded,  // a command nobody checked the asker of
  };

  // Replaces the prefixes.
  void Set(const std::vector<std::u16string>& prefixes);
  // Registers the schemes of Set's prefixes as local.
  void Register(WebKitSecurityManager* manager) const;
  // The target as WebKit reports it; ASCII letters compare in any case.
  Match Of(std::string_view target) const;

 private:
  struct Prefix {
    std::string text;  // lower case
    bool guarded;
  };
  std::vector<Prefix> prefixes_;
};

}  // namespace gtkui
