// A reader that never has a byte: every non-empty ReadFully throws NoMoreData.
#pragma once

#include "foundation/DataReader.h"

class EmptyDataReader : public DataReader {
 public:
  constexpr EmptyDataReader() = default;

  void Reset() override {}
  bool AtEnd() const override { return true; }
  void ReadSome(ByteRange& range) override {}
};
