#include "ui/ModalScope.h"

namespace ui {

namespace {

constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

BOOL CALLBACK CollectShownTopmost(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

}  // namespace

ModalScope::ModalScope() {
  EnumThreadWindows(GetCurrentThreadId(), CollectShownTopmost, reinterpret_cast<LPARAM>(&lowered_));
  for (HWND window : lowered_) SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

ModalScope::~ModalScope() {
  // A window hidden meanwhile (a cancelled run closed it) is still one that stays on top.
  for (HWND window : lowered_)
    if (IsWindow(window)) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

}  // namespace ui
