// File version resources. Values and layouts are the platform's.
#pragma once

#include "windef.h"

typedef UINT* PUINT;

struct VS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the platform's record size");

#define VS_FFI_SIGNATURE 0xFEEF04BDL
#define VS_FFI_STRUCVERSION 0x00010000L
#define VS_VERSION_INFO 1

#define FILE_VER_GET_LOCALISED 0x01
#define FILE_VER_GET_NEUTRAL 0x02
#define FILE_VER_GET_PREFETCHED 0x04

// The size of the block GetFileVersionInfoExW fills, or 0 with the last error set.
DWORD GetFileVersionInfoSizeExW(DWORD flags, LPCWSTR fileName, LPDWORD handle);
BOOL GetFileVersionInfoExW(DWORD flags, LPCWSTR fileName, DWORD handle, DWORD size, LPVOID data);
// "\" gives the block's VS_FIXEDFILEINFO; the pointer points into the block.
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT size);
