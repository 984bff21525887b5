#pragma once

#include <windows.h>

#include <vector>

namespace ui {

// Around every modal window the program opens (message box, open dialog, folder browser): a
// window of this thread that stays on top (the progress window during a run) would cover it on
// Windows, which keeps every topmost window above every other. Such windows leave the top band
// while the modal window is open and go back when it closes. Nested scopes find nothing left to
// lower and leave the restoring to the outer one.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  std::vector<HWND> lowered_;
};

}  // namespace ui
