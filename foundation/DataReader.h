// A source of bytes that fills buffers its caller owns.
#pragma once

#include "foundation/ByteRange.h"

class DataReader {
 public:
  virtual ~DataReader() = default;

  // Goes back to the first byte.
  virtual void Reset() = 0;

  // No byte is left.
  virtual bool AtEnd() const = 0;

  virtual bool HasData() const { return !AtEnd(); }

  // Fills the whole range or throws NoMoreData. The default keeps calling ReadSome, so the
  // bytes delivered before the reader ran dry are consumed even when it throws.
  virtual void ReadFully(ByteRange range);

  // Copies as many bytes as are available, up to the range's size, and moves the range's
  // begin past them.
  virtual void ReadSome(ByteRange& range) = 0;
};
