#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "ui/CodePage.h"
#include "ui/UniqueHandle.h"

// A child process started hidden with its standard output and error joined into one pipe, as
// the converter starts an encoder; for tests and benchmarks that run programs and read them.
struct PipedChild {
  ui::UniqueHandle process;
  ui::UniqueHandle read;
  DWORD id = 0;
  explicit operator bool() const { return static_cast<bool>(process); }
};

inline PipedChild StartPiped(const std::wstring& commandLine, DWORD creationFlags = 0) {
  PipedChild child;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  ui::UniqueHandle write;
  if (!CreatePipe(child.read.receive(), write.receive(), &inheritable, 0)) return child;
  SetHandleInformation(child.read.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = write.get();
  startup.hStdError = write.get();
  std::wstring line = commandLine;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, creationFlags, nullptr,
                      nullptr, &startup, &info))
    return child;
  child.process.reset(info.hProcess);
  ui::UniqueHandle thread(info.hThread);
  child.id = info.dwProcessId;
  return child;
}

// An ANSI command line, as the converter builds them.
inline PipedChild StartPiped(const std::string& commandLine, DWORD creationFlags = 0) {
  return StartPiped(ui::AnsiToWide(commandLine, CP_ACP), creationFlags);
}

// Reads the child's output until it holds `marker` or the pipe ends; gives what was read.
inline std::string ReadUntilMarker(PipedChild& child, std::string_view marker) {
  std::string output;
  char buffer[256];
  DWORD got = 0;
  while (output.find(marker) == std::string::npos &&
         ReadFile(child.read.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    output.append(buffer, got);
  return output;
}

// Reads until the child has ended and its output is drained, then gives the output and the
// exit code. The end of the pipe is not waited for: a process that the child started (Wine's
// desktop, say) may hold it open.
inline std::string ReadUntilEnd(PipedChild& child, DWORD* exitCode = nullptr) {
  std::string output;
  char buffer[4096];
  for (bool ended = false;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(child.read.get(), nullptr, 0, nullptr, &available, nullptr)) break;
    if (available > 0) {
      DWORD got = 0;
      if (!ReadFile(child.read.get(), buffer, std::min<DWORD>(available, sizeof buffer), &got,
                    nullptr))
        break;
      output.append(buffer, got);
      continue;
    }
    if (ended) break;
    ended = WaitForSingleObject(child.process.get(), 20) == WAIT_OBJECT_0;
  }
  WaitForSingleObject(child.process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(child.process.get(), &code);
  if (exitCode) *exitCode = code;
  return output;
}
