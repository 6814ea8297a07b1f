// Threads and thread-local storage slots.
#pragma once

#include "minwinbase.h"
#include "windef.h"

// ---- Threads ------------------------------------------------------------------------------

// The stack size is a reservation rather than a commitment; either way the host decides it.
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000

// Starts lpStartAddress(lpParameter) on a new thread and returns a handle that is signalled
// once the routine has returned; close it with CloseHandle. Suspended creation is not offered
// (there is no ResumeThread), so any flag but STACK_SIZE_PARAM_IS_A_RESERVATION fails with
// ERROR_INVALID_PARAMETER, as does a null routine. *lpThreadId, when given, receives the
// identifier that GetCurrentThreadId answers on the new thread.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId);

// Unique among the threads alive at the same time; a nonzero multiple of 4, as the platform's are.
DWORD GetCurrentThreadId();

// ---- Thread-local storage -----------------------------------------------------------------

// What TlsAlloc answers when every slot is taken.
#define TLS_OUT_OF_INDEXES ((DWORD)0xFFFFFFFF)
// 64 slots every thread has, and 1024 more that a thread gets once it uses one of them.
#define TLS_MINIMUM_AVAILABLE 64

// The lowest free slot; its value is null in every thread. TLS_OUT_OF_INDEXES with
// ERROR_NO_MORE_ITEMS when all 1088 are taken.
DWORD TlsAlloc();
// The calling thread's value of the slot. A null value is not an error: on success the last
// error is set to ERROR_SUCCESS, so a caller tells "null" from "failed" by GetLastError. A slot
// that is not allocated answers null with ERROR_INVALID_PARAMETER.
LPVOID TlsGetValue(DWORD dwTlsIndex);
// FALSE with ERROR_INVALID_PARAMETER for a slot that is not allocated.
BOOL TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue);
// Releases the slot; every thread's value is forgotten (not freed), so the slot is null again
// for all threads when TlsAlloc hands it out anew. FALSE with ERROR_INVALID_PARAMETER for a
// slot that is not allocated.
BOOL TlsFree(DWORD dwTlsIndex);
