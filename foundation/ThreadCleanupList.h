// The clean-ups that dispose of one thread's per-thread values, run in the order they were
// registered. The list only grows, by segments that double in size, so an element never moves
// and a run can read the list while another thread appends to it.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>

#include "foundation/Callable.h"

class ThreadCleanupList : public Callable<void (*)()> {
 public:
  static constexpr std::size_t kMaxSegments = 24;
  static constexpr std::size_t kFirstSegmentSize = 8;

  ThreadCleanupList() = default;
  ThreadCleanupList(const ThreadCleanupList&) = delete;
  ThreadCleanupList& operator=(const ThreadCleanupList&) = delete;
  ~ThreadCleanupList() override;

  // Throws DataOverflow once all segments are full, std::bad_alloc when a segment cannot be made.
  void Add(Callable<void (*)()>& element);
  // Clears the element's place so that later runs skip it; an element that is destroyed
  // withdraws itself first. Places are not reused, so the others keep their order.
  void Withdraw(const Callable<void (*)()>& element) noexcept;
  // Places handed out so far, withdrawn ones included.
  std::size_t Count() const { return count_.load(std::memory_order_acquire); }

  // Calls each element once on the calling thread, in registration order. An element that
  // fails does not keep the later ones from disposing of their values.
  void operator()() override;

 private:
  using Place = std::atomic<Callable<void (*)()>*>;

  Place& PlaceAt(std::size_t index) const;

  std::mutex appendLock_;
  std::atomic<std::size_t> count_{0};
  Place* segments_[kMaxSegments] = {};
};

// The process-wide list, made on first use and registered then as a thread-exit hook; never
// destroyed, since threads may still end while the process exits.
ThreadCleanupList& TheThreadCleanupList();
