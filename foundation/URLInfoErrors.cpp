#include "foundation/URLInfoErrors.h"

#include <string_view>

NoAuthorityError::NoAuthorityError()
    : InvalidURLInfoUse(UStringRef<UTF8>(std::string_view("URLInfo: Attempt to use missing Authority."))) {}

NoPathError::NoPathError()
    : InvalidURLInfoUse(UStringRef<UTF8>(std::string_view("URLInfo: Attempt to use missing Path."))) {}
