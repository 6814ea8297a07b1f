// Reads a block of memory that its creator keeps alive for as long as the reader is used.
#pragma once

#include "foundation/DataReader.h"

class ConstDataReader : public DataReader {
 public:
  explicit ConstDataReader(ConstByteRange block) : cursor_(block), first_(block.begin) {}

  void Reset() override { cursor_.begin = first_; }
  bool AtEnd() const override { return !(cursor_.begin < cursor_.end); }

  // All or nothing: when fewer bytes are left than the range holds, NoMoreData is thrown
  // before the cursor moves.
  void ReadFully(ByteRange range) override;

  void ReadSome(ByteRange& range) override;

  // The bytes not read yet.
  ConstByteRange Remaining() const { return cursor_; }

 private:
  ConstByteRange cursor_;
  const unsigned char* first_;
};
