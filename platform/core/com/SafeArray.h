// What the variant functions need of safe arrays beyond the public calls.
#pragma once

#include "oleauto.h"

// A deep copy of a one-dimensional array (new strings, added references, copied variants);
// *copy is null for a null source.
HRESULT CopySafeArray(SAFEARRAY* source, SAFEARRAY** copy);
