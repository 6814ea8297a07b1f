// Failed COM calls inside the host become Windows::Error carrying the call's HRESULT, so that
// they travel through the foundation's exception hierarchy like every other platform failure.
#pragma once

#include <windows.h>

#include "foundation/WindowsError.h"

[[noreturn]] inline void RaiseComError(HRESULT result) { throw Windows::Error(static_cast<std::uint32_t>(result)); }

inline void CheckComResult(HRESULT result) {
  if (FAILED(result)) RaiseComError(result);
}
