// Addresses between the platform and WebKit. The host names local pages the platform's way,
// as file addresses of drive paths (file:///C:/Guide/a%20b.html) or as plain drive paths
// (C:\Guide\a b.html); WebKit loads the host file behind them (file:///home/u/.wine/drive_c/
// Guide/a%20b.html). Other addresses (http:, about:, ...) only change their encoding.
#pragma once

#include <string>
#include <string_view>

namespace core {
class PathMapping;
}

namespace gtkui {

// The address WebKit loads, UTF-8. A local address whose drive the mapping does not know, or
// any address when there is no mapping, stays as it is.
std::string ToEngineAddress(std::u16string_view address, const core::PathMapping* mapping);

// The address the host sees for one that WebKit reports: a host file under one of the
// mapping's drives comes back as a file address of its drive path, with the path's bytes
// percent-encoded as a file address has them (blanks, "%", "#", "?" and every byte outside
// ASCII) and its query and fragment kept.
std::u16string ToPlatformAddress(std::string_view address, const core::PathMapping* mapping);

}  // namespace gtkui
