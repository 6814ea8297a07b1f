// Stateless filters that map every byte through one of the ASCII case tables, so bytes
// above 0x7F pass unchanged. They stop without error when input or output runs out.
#pragma once

#include "foundation/DataFilter.h"

namespace Ascii {

class CaseLoweringFilter : public DataFilter {
 public:
  void Filter(ConstByteRange& input, ByteRange& output) override;
};

class CaseRaisingFilter : public DataFilter {
 public:
  void Filter(ConstByteRange& input, ByteRange& output) override;
};

}  // namespace Ascii
