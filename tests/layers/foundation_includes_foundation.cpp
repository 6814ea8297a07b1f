// The control: what foundation links is found.
#include <windows.h>
#include "foundation/ExceptionPL.h"

int PlantedControl() { return 0; }
