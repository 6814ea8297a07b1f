// Critical sections, events and waiting for objects.
#pragma once

#include "minwinbase.h"
#include "windef.h"

// ---- Critical sections --------------------------------------------------------------------

// A section may be entered again by the thread that holds it; it is free once that thread has
// left it as often as it entered. Another thread's Enter waits until then.
void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// Leaving a section the calling thread does not hold changes nothing.
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// The section must not be held or waited for any more.
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

// ---- Events -------------------------------------------------------------------------------

// A manual-reset event stays signalled until ResetEvent; an auto-reset event releases one
// wait and becomes unsignalled again. Named events are not offered: a name fails with
// ERROR_NOT_SUPPORTED. Null on failure.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName);
// Both fail with ERROR_INVALID_HANDLE for a handle that is not an event.
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);

// ---- Waiting ------------------------------------------------------------------------------

#define INFINITE 0xFFFFFFFF

#define WAIT_OBJECT_0 ((DWORD)0x00000000)
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)

// Waits until the object (an event or a thread) is signalled or the timeout in milliseconds
// has passed: WAIT_OBJECT_0 or WAIT_TIMEOUT; 0 only tests the state, INFINITE never times out.
// WAIT_FAILED with ERROR_INVALID_HANDLE for a handle that names no such object.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
