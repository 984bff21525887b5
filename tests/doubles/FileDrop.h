#pragma once

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

// What the shell hands a window when files are dropped on it: a DROPFILES block with the
// paths as wide strings. The window's WM_DROPFILES handler frees it (DragFinish).
inline HGLOBAL MakeFileDrop(const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& p : paths) {
    std::wcscpy(text, p.c_str());
    text += p.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}
