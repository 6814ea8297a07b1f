// Registry reads that report the platform's status instead of raising, for callers that
// must not fail.
#pragma once

#include <string>

#include <windows.h>
#include <winreg.h>

#include "WideText.h"
#include "foundation/RegistryKey.h"

// Opens `path` below `root`. On success `key` takes the new key (closing one it held); on
// failure it is left as it was. Returns the platform's status.
LSTATUS TryOpenRegistryKey(HKEY root, LPCWSTR path, RegistryKey& key, REGSAM access = KEY_READ);

// Reads a value into `text` when it is a REG_SZ, cut at its first zero unit. A failed query
// returns its status with `text` unchanged; a value of another type also leaves `text`
// unchanged and returns 0. An empty value gives an empty text.
LSTATUS TryReadRegistryString(HKEY key, LPCWSTR name, WString& text);
