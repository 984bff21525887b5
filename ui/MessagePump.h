#pragma once

#include <windows.h>

#include <functional>

namespace ui {

// Processes every window message that is waiting for this thread, then returns.
// Long work on the user-interface thread calls it at fixed points to keep windows alive.
void ProcessMessages();

// Waits for the object, at most `milliseconds`, processing messages meanwhile so that the
// windows keep answering. True when the object was signalled.
bool WaitProcessingMessages(HANDLE object, DWORD milliseconds);

// The application's treatment of a message before it is dispatched (keyboard shortcuts,
// dialog keys); true means the message was consumed. ProcessMessages applies it too.
void SetMessageFilter(std::function<bool(MSG&)> filter);

}  // namespace ui
