#include "foundation/LogDepth.h"

ThreadLocalPtr<std::uint32_t>& TheLogDepth() {
  static ThreadLocalPtr<std::uint32_t> depth;
  return depth;
}

namespace {
// Made during static initialisation, before anything in main can ask for it.
[[maybe_unused]] ThreadLocalPtr<std::uint32_t>& madeBeforeMain = TheLogDepth();
}  // namespace
