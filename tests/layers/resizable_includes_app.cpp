// Planted: the resizable layer including the application above it.
#include "app/GuideCommand.h"
