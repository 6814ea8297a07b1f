// How the message loop waits when the queue is empty. Core's default blocks until another
// thread posts a message; the presenter installs a wait that runs its own event loop, whose
// events come back as posted or sent messages.
#pragma once

#include <memory>

namespace core {

class MessageWait {
 public:
  virtual ~MessageWait() = default;
  // Returns once a message may have arrived; spurious returns are allowed.
  virtual void WaitForMessage() = 0;
  // Called when a message is posted from any thread, so that a waiting loop wakes up.
  virtual void MessagePosted() = 0;
};

// Answers the wait it replaces; null goes back to the blocking default.
std::shared_ptr<MessageWait> InstallMessageWait(std::shared_ptr<MessageWait> wait);

}  // namespace core
