#include "gtk/GLibMessageWait.h"

#include <glib.h>

namespace gtkui {

void GLibMessageWait::WaitForMessage() { g_main_context_iteration(nullptr, TRUE); }

void GLibMessageWait::MessagePosted() { g_main_context_wakeup(nullptr); }

}  // namespace gtkui
