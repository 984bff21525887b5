#include "shell/SingleInstance.h"

void SingleInstance::Open() {
  Close();
  mapping_.reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kInstanceMappingName));
  bool created = false;
  if (!mapping_) {
    mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(LONG), kInstanceMappingName));
    created = static_cast<bool>(mapping_);
  }
  if (!mapping_) return;
  view_ = static_cast<volatile LONG*>(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!view_) {
    mapping_.reset();
    return;
  }
  if (created) *view_ = 0;
}

bool SingleInstance::CheckRunningInstance(HWND appWindow) {
  if (!view_) return false;
  // Claim the block atomically, so that two copies started together cannot both claim it.
  // A window handle fits the 4-byte block in the 64-bit build too: the system keeps handles
  // to 32 significant bits, shared by 32- and 64-bit processes, and sign-extends them, which
  // the LONG -> LONG_PTR conversion below does. So either build finds a copy of the other.
  LONG mine = static_cast<LONG>(reinterpret_cast<LONG_PTR>(appWindow));
  LONG stored = InterlockedCompareExchange(view_, mine, 0);
  if (stored == 0) return false;
  HWND first = reinterpret_cast<HWND>(static_cast<LONG_PTR>(stored));
  // A first copy that hangs must not hang this one: it gives up after a few seconds.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(first, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000,
                      &ignored);
  HWND popup = GetLastActivePopup(first);
  if (popup && popup != first && IsWindowVisible(popup) && IsWindowEnabled(popup))
    SetForegroundWindow(popup);
  return true;
}

void SingleInstance::Close() {
  if (view_) UnmapViewOfFile(const_cast<LONG*>(view_));
  view_ = nullptr;
  mapping_.reset();
}
