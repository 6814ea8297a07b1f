// Where the parts of a URL start inside its text. The text is not copied: it must outlive
// the URLInfo and everything handed out from it.
#pragma once

#include <vector>

#include "foundation/FileLocation.h"
#include "foundation/URLInfoErrors.h"

struct URLPathSegment {
  UStringRef<UTF8> text;   // the whole segment, its parameters included
  const char* parameters;  // the first ";" or "?" of the segment, or its end
};

class URLInfo {
 public:
  explicit URLInfo(UStringRef<UTF8> text);

  // From after the "//" up to the path, query, fragment or end: user information and port
  // included. Raises NoAuthorityError without "//".
  UStringRef<UTF8> Authority() const;
  // Raises NoPathError when the URL has an authority but no path, or no path text at all.
  UStringRef<UTF8> Path() const;
  // The path without one leading "/", cut at each "/"; empty pieces count.
  std::vector<URLPathSegment> PathSegments() const;
  // A file URL as a path: "\\host\" first unless the host is empty or localhost, then the
  // percent-decoded segments joined by "\".
  FileLocation ToFileLocation() const;

  // Positions found by the parse; null when absent.
  const char* begin = nullptr;
  const char* end = nullptr;
  const char* schemeColon = nullptr;
  const char* authority = nullptr;
  const char* at = nullptr;
  const char* portColon = nullptr;
  const char* pathStart = nullptr;
  const char* query = nullptr;
  const char* fragment = nullptr;

 private:
  void Parse();
  const char* FirstOf(std::initializer_list<const char*> positions) const;
};
