#include "foundation/URLInfo.h"

#include "foundation/Ascii.h"
#include "foundation/URLDecoder.h"

URLInfo::URLInfo(UStringRef<UTF8> text) : begin(text.begin()), end(text.begin() + text.size()) { Parse(); }

void URLInfo::Parse() {
  const char* openBracket = nullptr;
  const char* closeBracket = nullptr;
  for (const char* p = begin; p != end; ++p) {
    const bool inAuthority = authority != nullptr && pathStart == nullptr && query == nullptr;
    switch (*p) {
      case '#':
        fragment = p;
        return;
      case '/':
        if (query != nullptr) break;
        if (p == begin || (schemeColon != nullptr && p == schemeColon + 1)) {
          pathStart = p;
        } else if (authority == nullptr) {
          if (pathStart != nullptr && pathStart == p - 1) {
            authority = pathStart;
            pathStart = nullptr;
          }
        } else if (pathStart == nullptr) {
          pathStart = p;
        }
        break;
      case ':':
        if (pathStart != nullptr || query != nullptr) break;
        if (authority == nullptr) {
          if (schemeColon == nullptr) schemeColon = p;
        } else if (openBracket == nullptr || closeBracket != nullptr) {
          // Colons of a bracketed address are not the port's.
          portColon = p;
        }
        break;
      case '?':
        if (query == nullptr && (schemeColon == nullptr || authority != nullptr || pathStart != nullptr)) query = p;
        break;
      case '@':
        if (inAuthority) {
          at = p;
          portColon = nullptr;
        }
        break;
      case '[':
        if (inAuthority && openBracket == nullptr) openBracket = p;
        break;
      case ']':
        if (openBracket != nullptr) closeBracket = p;
        break;
      default:
        break;
    }
  }
}

const char* URLInfo::FirstOf(std::initializer_list<const char*> positions) const {
  for (const char* position : positions) {
    if (position != nullptr) return position;
  }
  return end;
}

UStringRef<UTF8> URLInfo::Authority() const {
  if (authority == nullptr) throw NoAuthorityError();
  return UStringRef<UTF8>(authority + 2, FirstOf({pathStart, query, fragment}));
}

UStringRef<UTF8> URLInfo::Path() const {
  if (pathStart != nullptr) return UStringRef<UTF8>(pathStart, FirstOf({query, fragment}));
  if (authority != nullptr) throw NoPathError();
  const char* start = schemeColon != nullptr ? schemeColon + 1 : begin;
  const UStringRef<UTF8> path(start, FirstOf({query, fragment}));
  if (path.empty()) throw NoPathError();
  return path;
}

std::vector<URLPathSegment> URLInfo::PathSegments() const {
  const UStringRef<UTF8> path = Path();
  const char* p = path.begin();
  const char* stop = path.end();
  if (p != stop && *p == '/') ++p;
  std::vector<URLPathSegment> segments;
  if (p == stop) return segments;
  while (true) {
    const char* segmentEnd = p;
    while (segmentEnd != stop && *segmentEnd != '/') ++segmentEnd;
    const char* parameters = p;
    while (parameters != segmentEnd && *parameters != ';' && *parameters != '?') ++parameters;
    segments.push_back(URLPathSegment{UStringRef<UTF8>(p, segmentEnd), parameters});
    if (segmentEnd == stop) break;
    p = segmentEnd + 1;
  }
  return segments;
}

FileLocation URLInfo::ToFileLocation() const {
  const UStringRef<UTF8> host = Authority();
  CopiedUString<UTF8> text;
  if (!host.empty() && !Ascii::EqualsIgnoringCase(host, UStringRef<UTF8>(std::string_view("localhost")))) {
    text.Append(UStringRef<UTF8>(std::string_view("\\\\")));
    text.Append(URLDecode(host).Ref());
    text.Append('\\');
  }
  bool first = true;
  for (const URLPathSegment& segment : PathSegments()) {
    if (!first) text.Append('\\');
    text.Append(URLDecode(segment.text).Ref());
    first = false;
  }
  return FileLocation(text.Ref());
}
