#include "ui/MessagePump.h"

#include <windows.h>

namespace ui {

namespace {

std::function<bool(MSG&)>& Filter() {
  static std::function<bool(MSG&)> filter;
  return filter;
}

bool& Quit() {
  static bool quit = false;
  return quit;
}

}  // namespace

bool QuitRequested() { return Quit(); }
void ClearQuit() { Quit() = false; }

void SetMessageFilter(std::function<bool(MSG&)> filter) { Filter() = std::move(filter); }

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      Quit() = true;
      continue;
    }
    if (Filter() && Filter()(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WaitProcessingMessages(HANDLE object, DWORD milliseconds) {
  ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    ULONGLONG now = GetTickCount64();
    DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    DWORD woken = MsgWaitForMultipleObjectsEx(1, &object, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;  // timed out (or failed)
    ProcessMessages();
  }
}

}  // namespace ui
