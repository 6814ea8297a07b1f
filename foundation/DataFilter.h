// A transformation from an input range into an output range. A filter may hold part of a
// sequence between calls, so input can arrive in any number of pieces.
#pragma once

#include "foundation/ByteRange.h"

// The base is the identity filter.
class DataFilter {
 public:
  constexpr DataFilter() = default;
  virtual ~DataFilter() = default;

  // Consumes from input and produces into output, moving both begins.
  virtual void Filter(ConstByteRange& input, ByteRange& output);

  // No partial input sequence is held, so the input may end here.
  virtual bool IsIdle() const { return true; }

  // At the end of the input: writes what a held partial sequence still owes.
  virtual void Finish(ByteRange& output) {}
};

// Runs the filter once over the input when there is any; never finishes it.
void ApplyFilter(DataFilter& filter, ConstByteRange& input, ByteRange& output);
