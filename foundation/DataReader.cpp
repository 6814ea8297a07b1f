#include "foundation/DataReader.h"

#include "foundation/LibraryExceptions.h"

void DataReader::ReadFully(ByteRange range) {
  while (HasData()) {
    // An empty range is complete even at the end of the data, so it never throws.
    if (range.empty()) return;
    ReadSome(range);
  }
  if (!range.empty()) throw NoMoreData();
}
