#pragma once

#include <windows.h>

#include "ui/UniqueHandle.h"

namespace ui {

// A thread object. Created suspended or running; with FreeOnTerminate the object deletes
// itself when Execute returns (then it must have been made with new and never touched again
// after Start).
class TThread {
 public:
  explicit TThread(bool createSuspended);
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool v) { freeOnTerminate_ = v; }
  // Waits for the end of Execute (not for a self-freeing thread); answers its exit code.
  DWORD WaitFor();
  HANDLE Handle() const { return handle_.get(); }

 protected:
  virtual void Execute() = 0;

 private:
  static DWORD WINAPI ThreadProc(void* parameter);
  UniqueHandle handle_;
  volatile bool terminated_ = false;
  bool freeOnTerminate_ = false;
  bool started_ = false;
};

}  // namespace ui
