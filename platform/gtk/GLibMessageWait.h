// The message loop's wait on the GLib main loop: while the platform's queue is empty, GTK and
// WebKit events are dispatched, and their handlers send or post the platform's messages.
#pragma once

#include "core/user/MessageWait.h"

namespace gtkui {

class GLibMessageWait : public core::MessageWait {
 public:
  // One blocking iteration of the default main context: returns after it has dispatched
  // something, or at once when a message was posted since the last wait.
  void WaitForMessage() override;
  // Safe from any thread; a wake-up that comes before the wait makes the next wait return.
  void MessagePosted() override;
};

}  // namespace gtkui
