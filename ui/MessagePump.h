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

// A quit that a pump took: it is kept here, not put back in the queue, where it would come
// before input and paint and starve every later pump. The main loop ends on it; long work
// checks it to end early. ClearQuit forgets it (a new message loop).
bool QuitRequested();
void ClearQuit();

// The application's treatment of a message before it is dispatched (keyboard shortcuts,
// dialog keys); true means the message was consumed. ProcessMessages applies it too.
void SetMessageFilter(std::function<bool(MSG&)> filter);

}  // namespace ui
