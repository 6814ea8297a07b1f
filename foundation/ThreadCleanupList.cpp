#include "foundation/ThreadCleanupList.h"

#include <bit>

#include "foundation/LibraryExceptions.h"
#include "foundation/ThreadExitHooks.h"

namespace {

// Segment s holds kFirstSegmentSize << s places and starts after all smaller ones.
struct Position {
  std::size_t segment;
  std::size_t offset;
};

Position PositionOf(std::size_t index) {
  const std::size_t block = index / ThreadCleanupList::kFirstSegmentSize + 1;
  const std::size_t segment = std::bit_width(block) - 1;
  const std::size_t start = ThreadCleanupList::kFirstSegmentSize * ((std::size_t{1} << segment) - 1);
  return {segment, index - start};
}

}  // namespace

ThreadCleanupList::~ThreadCleanupList() {
  for (Place* segment : segments_) delete[] segment;
}

ThreadCleanupList::Place& ThreadCleanupList::PlaceAt(std::size_t index) const {
  const Position position = PositionOf(index);
  return segments_[position.segment][position.offset];
}

void ThreadCleanupList::Add(Callable<void (*)()>& element) {
  std::lock_guard<std::mutex> guard(appendLock_);
  const std::size_t index = count_.load(std::memory_order_relaxed);
  const Position position = PositionOf(index);
  if (position.segment >= kMaxSegments) throw DataOverflow();
  if (segments_[position.segment] == nullptr) {
    segments_[position.segment] = new Place[kFirstSegmentSize << position.segment]();
  }
  segments_[position.segment][position.offset].store(&element, std::memory_order_relaxed);
  // Published after the element: a run that sees the new count sees the element too.
  count_.store(index + 1, std::memory_order_release);
}

void ThreadCleanupList::Withdraw(const Callable<void (*)()>& element) noexcept {
  std::lock_guard<std::mutex> guard(appendLock_);
  const std::size_t count = count_.load(std::memory_order_relaxed);
  for (std::size_t index = 0; index < count; ++index) {
    Place& place = PlaceAt(index);
    if (place.load(std::memory_order_relaxed) == &element) place.store(nullptr, std::memory_order_release);
  }
}

void ThreadCleanupList::operator()() {
  const std::size_t count = Count();
  for (std::size_t index = 0; index < count; ++index) {
    Callable<void (*)()>* element = PlaceAt(index).load(std::memory_order_acquire);
    if (element == nullptr) continue;
    try {
      (*element)();
    } catch (...) {
      // A value that cannot be disposed of stays behind; the others still go.
    }
  }
}

ThreadCleanupList& TheThreadCleanupList() {
  static ThreadCleanupList* list = [] {
    auto* made = new ThreadCleanupList;
    TheThreadExitHooks().Add(*made);
    return made;
  }();
  return *list;
}
