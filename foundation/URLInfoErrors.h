// Asking a URLInfo for a part its URL does not have.
#pragma once

#include "foundation/ExceptionPL.h"

class InvalidURLInfoUse : public ExceptionPL {
 public:
  using ExceptionPL::ExceptionPL;
};

class NoAuthorityError : public InvalidURLInfoUse {
 public:
  NoAuthorityError();
};

class NoPathError : public InvalidURLInfoUse {
 public:
  NoPathError();
};
