#pragma once

#include <windows.h>

#include <string>

#include "ui/UniqueHandle.h"

namespace frontend {

// The engine as a hidden child inside a job that kills it when our last handle to the job
// goes, which is also when this process ends, however it ends.
class EngineProcess {
 public:
  // False with *error set when the engine could not be started.
  bool Start(const std::wstring& enginePath, const std::wstring& commandLine, std::wstring* error);

  HANDLE Process() const { return process_.get(); }
  HANDLE Output() const { return output_.get(); }  // the engine's standard output (progress)
  HANDLE Log() const { return log_.get(); }        // the engine's standard error (log)
  DWORD ExitCode() const;

 private:
  ui::UniqueHandle job_;
  ui::UniqueHandle process_;
  ui::UniqueHandle output_;
  ui::UniqueHandle log_;
};

}  // namespace frontend
