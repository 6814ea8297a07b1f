// The system directory and the operating-system version record.
#pragma once

#include "windef.h"

struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};
typedef OSVERSIONINFOW* LPOSVERSIONINFOW;

// The extended record; its first fields are those of OSVERSIONINFOW.
struct OSVERSIONINFOEXW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
typedef OSVERSIONINFOEXW* LPOSVERSIONINFOEXW;

static_assert(sizeof(OSVERSIONINFOW) == 276, "the platform's record size");
static_assert(sizeof(OSVERSIONINFOEXW) == 284, "the platform's record size");

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

#define VER_NT_WORKSTATION 0x0000001
#define VER_NT_DOMAIN_CONTROLLER 0x0000002
#define VER_NT_SERVER 0x0000003

// Copies the directory with its zero unit and returns its length when it fits in `size`
// units; otherwise returns the size needed, zero unit included, and copies nothing.
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size);

// Fills the record whose size field says which of the two forms it is.
BOOL GetVersionExW(LPOSVERSIONINFOW info);
