#pragma once

#include <intrin.h>
#include <windows.h>

// Live GDI and USER objects of this process. Windows answers GetGuiResources; Wine answers
// 0 there, so under Wine the GDI count comes from the process's GDI handle table (the PEB's
// GdiSharedHandleTable: 24-byte entries, a non-zero type for a live object) and the USER
// count is the number of windows of this thread.
namespace gui_objects {

struct WineGdiEntry {
  unsigned long long object;
  unsigned short processId;
  unsigned short count;
  unsigned short unique;
  unsigned char type;
  unsigned char flags;
  unsigned long long user;
};

inline int GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
  auto* peb = reinterpret_cast<unsigned char*>(__readfsdword(0x30));
  auto* table = *reinterpret_cast<WineGdiEntry**>(peb + 0x94);
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
