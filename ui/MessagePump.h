#pragma once

namespace ui {

// Processes every window message that is waiting for this thread, then returns.
// Long work on the user-interface thread calls it at fixed points to keep windows alive.
void ProcessMessages();

}  // namespace ui
