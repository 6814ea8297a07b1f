// How a path starts: a drive, a UNC prefix, a separator, or none of them.
#pragma once

#include "foundation/CopiedUString.h"

struct PathRoot {
  bool isRootOnly = false;  // the whole path is "\", "/", "X:" or "\\server"
  bool isRooted = false;    // starts with a drive, a UNC prefix or a separator
  bool isUnc = false;       // starts with two backslashes
  bool hasDrive = false;    // starts with an ASCII letter and ":"
  CopiedUString<UTF8> drive;  // the letter as written and ":", when hasDrive
};

PathRoot ClassifyPathRoot(UStringRef<UTF8> path);
