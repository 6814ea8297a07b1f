#include "foundation/CaseFilters.h"

#include <algorithm>

#include "foundation/Ascii.h"

namespace Ascii {

namespace {

// Byte i of the output is the image of byte i of the input, so filtering in place is safe.
void MapThrough(const unsigned char (&table)[256], ConstByteRange& input, ByteRange& output) {
  const std::size_t n = std::min(input.size(), output.size());
  for (std::size_t i = 0; i < n; ++i) output.begin[i] = table[input.begin[i]];
  input.begin += n;
  output.begin += n;
}

}  // namespace

void CaseLoweringFilter::Filter(ConstByteRange& input, ByteRange& output) { MapThrough(kLowering, input, output); }

void CaseRaisingFilter::Filter(ConstByteRange& input, ByteRange& output) { MapThrough(kRaising, input, output); }

}  // namespace Ascii
