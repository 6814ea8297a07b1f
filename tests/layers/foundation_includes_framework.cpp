// Planted: foundation including the framework, which it does not link.
#include "afxwin.h"
