// Orders texts by their code units, so that sorted sets and maps of owned strings can be
// searched with a view, without copying the key.
#pragma once

#include "foundation/UStringRef.h"

template <class E>
struct UStringLess {
  using is_transparent = void;

  bool operator()(UStringRef<E> a, UStringRef<E> b) const { return a.view() < b.view(); }
};
