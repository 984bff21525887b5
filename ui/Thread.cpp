#include "ui/Thread.h"

namespace ui {

TThread::TThread(bool createSuspended) {
  DWORD id = 0;
  handle_.reset(CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id));
  if (!createSuspended) Start();
}

TThread::~TThread() {
  if (handle_ && started_ && !freeOnTerminate_) {
    terminated_ = true;
    WaitForSingleObject(handle_.get(), INFINITE);
  } else if (handle_ && !started_) {
    // Never started: let the thread run to an immediate end without touching this object.
    TerminateThread(handle_.get(), 0);
  }
}

void TThread::Start() {
  if (started_ || !handle_) return;
  started_ = true;
  ResumeThread(handle_.get());
}

DWORD TThread::WaitFor() {
  if (!handle_) return 0;
  WaitForSingleObject(handle_.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeThread(handle_.get(), &code);
  return code;
}

DWORD WINAPI TThread::ThreadProc(void* parameter) {
  auto* thread = static_cast<TThread*>(parameter);
  thread->Execute();
  if (thread->freeOnTerminate_) delete thread;
  return 0;
}

}  // namespace ui
