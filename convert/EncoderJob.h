#pragma once

#include <windows.h>

#include "ui/UniqueHandle.h"

// The job that every encoder of this program runs in. The job kills its processes when its
// last handle closes; this program holds that handle until it ends, however it ends, so no
// encoder outlives it. The job allows breakaway, so that a front-end can put its engine into a
// job of its own also where jobs do not nest (Windows before 8).
class EncoderJob {
 public:
  static EncoderJob& Instance();

  // Puts a process (started suspended) into the job; false when that failed.
  bool Assign(HANDLE process);

 private:
  EncoderJob();
  ui::UniqueHandle job_;
};
