// Records shared by the thread, synchronisation and handle calls.
#pragma once

#include "windef.h"

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// A thread's start routine: its result becomes the thread's exit code.
typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

// Callers only ever pass a section's address, so the record holds just what this
// implementation needs: the lock that InitializeCriticalSection makes for it.
struct CRITICAL_SECTION {
  void* LockObject;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;
