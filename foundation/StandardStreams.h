// Process-wide stateless stream objects. They are constant-initialised, so they can be used
// from any static initialiser, and live until the process exits.
#pragma once

#include "foundation/DataFilter.h"
#include "foundation/DataWriter.h"
#include "foundation/EmptyDataReader.h"

EmptyDataReader& TheEmptyDataReader();
DataFilter& TheIdentityFilter();
IgnoreDataReceiver& TheIgnoreDataReceiver();
