#pragma once

#include <windows.h>

#include "ui/UniqueHandle.h"

// Lets one copy of the program run per desktop session: the first copy stores its hidden
// application window in a small named shared memory block; a later copy finds it there, brings
// the first copy forward and ends.
class SingleInstance {
 public:
  // Opens the shared block, or creates it holding 0. A block that this copy may only read (made
  // by a copy of another account or of a higher integrity level) is opened for reading. Without
  // a block there is no guard and this copy behaves as the only one.
  void Open();
  // True when another copy runs (it has been restored and brought forward); otherwise this
  // copy's window is stored, when none was and the block may be written, and false is returned.
  bool CheckRunningInstance(HWND appWindow);
  void Close();
  bool Guarded() const { return view_ != nullptr; }

  ~SingleInstance() { Close(); }

 private:
  ui::UniqueHandle mapping_;
  volatile LONG* view_ = nullptr;
  bool readOnly_ = false;
};

inline constexpr char kInstanceMappingName[] = "{CAF77BBB-AC23-4FDE-8799-51D5CEB5QZMVTCOVER}";
