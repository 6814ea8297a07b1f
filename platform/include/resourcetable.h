// A module's resources, compiled into the binary. The platform's resource compiler would put
// them into the executable's resource section; here the module registers a table of them at
// start-up, and FindResourceW / LoadResource / LockResource read them from there.
#pragma once

#include "windef.h"

struct RESOURCE_TABLE_ENTRY {
  LPCWSTR type;    // MAKEINTRESOURCEW number or text
  LPCWSTR name;    // MAKEINTRESOURCEW number or text
  WORD language;   // 0 for the neutral language
  const void* data;
  DWORD size;
};

// Adds the entries to the module's resources (null: the process's own module). The table,
// its texts and its bytes must outlive every use; they are not copied. A later entry with the
// same type, name and language replaces an earlier one. FALSE with ERROR_INVALID_PARAMETER
// for a null table with a nonzero count.
BOOL RegisterModuleResources(HMODULE module, const RESOURCE_TABLE_ENTRY* entries, UINT count);
