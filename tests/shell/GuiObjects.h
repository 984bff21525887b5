#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstddef>

// Live GDI and USER objects of this process. Windows answers GetGuiResources; Wine answers
// 0 there, so under Wine the GDI count comes from the process's GDI handle table (the PEB's
// GdiSharedHandleTable: 24-byte entries in either bitness, a non-zero type for a live object)
// and the USER count is the number of windows of this thread.
namespace gui_objects {

// Where the PEB keeps that table: the one hard offset of a system structure we read.
#ifdef _WIN64
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;
#else
constexpr std::size_t kPebGdiSharedHandleTable = 0x94;
#endif

struct WineGdiEntry {
  unsigned long long object;
  unsigned short processId;
  unsigned short count;
  unsigned short unique;
  unsigned char type;
  unsigned char flags;
  unsigned long long user;
};
static_assert(sizeof(WineGdiEntry) == 24);

inline int GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
  // The PEB's address from the system, not from a segment register: the same in both builds.
  using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query ||
      query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
    return -1;
  auto* peb = reinterpret_cast<unsigned char*>(info.PebBaseAddress);
  auto* table = *reinterpret_cast<WineGdiEntry**>(peb + kPebGdiSharedHandleTable);
  if (!table) return -1;
  int live = 0;
  for (int i = 0; i < 0x10000; ++i) live += table[i].type != 0;
  return live;
}

inline BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

inline int UserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<int>(n);
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace gui_objects
