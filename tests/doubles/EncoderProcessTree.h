#pragma once

#include <tlhelp32.h>
#include <windows.h>

#include <vector>

#include "ui/UniqueHandle.h"

// The encoder processes a program started, for tests that check that they have ended.
namespace encoder_processes {

// Ids of the processes under the encoders' names that descend from `ancestor` (the engine is
// named ffmpeg.exe too).
inline std::vector<DWORD> Below(DWORD ancestor) {
  struct Process {
    DWORD id, parent;
    bool encoder;
  };
  std::vector<Process> all;
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    bool encoder = false;
    for (const wchar_t* name : {L"ffmpeg.exe", L"ffmpegx.exe", L"mencoder.exe"})
      encoder = encoder || _wcsicmp(entry.szExeFile, name) == 0;
    all.push_back({entry.th32ProcessID, entry.th32ParentProcessID, encoder});
  }
  std::vector<DWORD> found;
  std::vector<DWORD> parents{ancestor};
  // Breadth first through the children; ids of ended parents still link their children.
  for (size_t next = 0; next < parents.size() && next < 64; ++next)
    for (const Process& p : all)
      if (p.parent == parents[next] && p.id != parents[next]) {
        parents.push_back(p.id);
        if (p.encoder) found.push_back(p.id);
      }
  return found;
}

inline bool Running(DWORD id) {
  ui::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
  return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

inline bool AnyRunning(const std::vector<DWORD>& ids) {
  for (DWORD id : ids)
    if (Running(id)) return true;
  return false;
}

}  // namespace encoder_processes
