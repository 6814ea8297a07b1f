// Switches the platform's WOW64 file-system redirection off for the calling thread while it
// lives. Where the platform lacks the entry points, the guard does nothing.
#pragma once

class Wow64RedirectionGuard {
 public:
  explicit Wow64RedirectionGuard(bool enable);
  ~Wow64RedirectionGuard();
  Wow64RedirectionGuard(const Wow64RedirectionGuard&) = delete;
  Wow64RedirectionGuard& operator=(const Wow64RedirectionGuard&) = delete;

 private:
  void* savedState_ = nullptr;
  bool enabled_;
};
