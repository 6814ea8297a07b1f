// Raising a structured exception, which the platform uses to talk to an attached debugger.
#pragma once

#include "windef.h"

#define EXCEPTION_NONCONTINUABLE 0x1
#define EXCEPTION_MAXIMUM_PARAMETERS 15

// Nothing here can catch a structured exception and no debugger is ever attached. The
// debugger notifications (the thread-naming exception) therefore go unheard and the call
// returns; any other exception is unhandled and ends the process, as it would on the platform.
void RaiseException(DWORD dwExceptionCode, DWORD dwExceptionFlags, DWORD nNumberOfArguments,
                    const ULONG_PTR* lpArguments);
