// A sink for text of one encoding. The base accepts everything and keeps nothing, so a
// receiver that only cares about some of the calls overrides just those.
#pragma once

#include <cstddef>

#include "foundation/UStringRef.h"

template <class E>
class UTextReceiver {
 public:
  virtual ~UTextReceiver() = default;

  // Starts a text. The argument is reserved; no receiver reads it.
  virtual void Begin(unsigned reserved = 0) {}

  // Appends one piece of the text.
  virtual void Receive(UStringRef<E> piece) {}

  // The text is complete.
  virtual void End() {}

  // The length, in code units of E, the text would have once `piece` were received too.
  // A receiver that keeps no text has no length to report.
  virtual std::size_t LengthWith(UStringRef<E> piece) const { return 0; }
};
