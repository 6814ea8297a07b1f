// Planted: foundation reaching into core's handle tables by the repository path.
#include "platform/core/kernel/HandleTable.h"
