#pragma once

#include <string>

#include "ui/Thread.h"

// Opens a path or a web address with the shell's "open" verb on a thread of its own that
// frees itself. Create it with new, then Start(); the result of the shell is ignored.
class TNative : public ui::TThread {
 public:
  explicit TNative(std::wstring target);

 protected:
  void Execute() override;

 private:
  std::wstring target_;  // wide: a folder outside the ANSI code page opens too
};

// Starts a TNative for the target.
void OpenWithShell(const std::wstring& target);
