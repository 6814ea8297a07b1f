// The platform API surface the system is written against, in the platform's own header names.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "errhandlingapi.h"
#include "stringapiset.h"
#include "winbase.h"
#include "fileapi.h"
#include "sysinfoapi.h"
#include "libloaderapi.h"
#include "winreg.h"
#include "winver.h"
#include "winuser.h"
#include "wingdi.h"
#include "shellapi.h"
