#include "foundation/DataFilter.h"

#include <algorithm>
#include <cstring>

void DataFilter::Filter(ConstByteRange& input, ByteRange& output) {
  const std::size_t n = std::min(input.size(), output.size());
  if (n == 0) return;
  std::memcpy(output.begin, input.begin, n);
  input.begin += n;
  output.begin += n;
}

void ApplyFilter(DataFilter& filter, ConstByteRange& input, ByteRange& output) {
  if (!input.empty()) filter.Filter(input, output);
}
