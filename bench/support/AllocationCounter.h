// Counts every heap allocation of the program by replacing the global operator new, so a
// benchmark can show how many allocations one call makes. Include it in one source file of a
// benchmark program only.
#pragma once

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace bench {
inline std::atomic<std::size_t> allocations{0};

inline void* CountedAllocation(std::size_t size) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}

// Sets the counter `name` to the allocations per iteration since `before`.
inline void ReportAllocations(benchmark::State& state, std::size_t before, const char* name) {
  state.counters[name] =
      static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
}
}  // namespace bench

void* operator new(std::size_t size) {
  if (void* block = bench::CountedAllocation(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return bench::CountedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return bench::CountedAllocation(size); }
// These deletes pair with the replaced news above, which allocate with malloc; GCC cannot see
// that pairing and would warn at every inlined new/delete.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop
