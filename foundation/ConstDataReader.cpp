#include "foundation/ConstDataReader.h"

#include <algorithm>
#include <cstring>

#include "foundation/LibraryExceptions.h"

void ConstDataReader::ReadFully(ByteRange range) {
  const std::size_t wanted = range.size();
  if (cursor_.size() < wanted) throw NoMoreData();
  if (wanted == 0) return;
  std::memcpy(range.begin, cursor_.begin, wanted);
  cursor_.begin += wanted;
}

void ConstDataReader::ReadSome(ByteRange& range) {
  const std::size_t n = std::min(cursor_.size(), range.size());
  if (n == 0) return;
  std::memcpy(range.begin, cursor_.begin, n);
  cursor_.begin += n;
  range.begin += n;
}
