// The COM basics in one include: IUnknown, automation types and functions, streams.
#pragma once

#include "unknwn.h"
#include "oleauto.h"
#include "objidl.h"
