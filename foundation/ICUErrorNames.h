// ICU's names for its status codes (UErrorCode), as u_errorName gives them, so that a status
// can be named where ICU is not linked: the Windows build has no ICU at all.
#pragma once

#include <cstdint>

// The name of the status, "[BOGUS UErrorCode]" for a number ICU does not define.
const char* ICUErrorName(std::int32_t status);
