#include "shell/SingleInstance.h"

#include <sddl.h>

#include <string>

namespace {

// Full access for this account (and SYSTEM and the administrators), reading for whoever is
// signed in at this desktop (the interactive logon). When the setup started this copy elevated,
// or as an administrator whose password a standard user typed, the token's default security
// would shut out the user's own later starts: they could not even find this copy. Nothing
// outside this account may write the block. Null when it cannot be built (the default then).
PSECURITY_DESCRIPTOR NewBlockSecurity() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
  ui::UniqueHandle owned(token);
  alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size)) return nullptr;
  wchar_t* user = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &user))
    return nullptr;
  std::wstring sddl =
      L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GA;;;" + std::wstring(user) + L")(A;;GR;;;IU)";
  LocalFree(user);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                            &descriptor, nullptr))
    return nullptr;
  return descriptor;
}

}  // namespace

void SingleInstance::Open() {
  Close();
  mapping_.reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kInstanceMappingName));
  if (!mapping_ && GetLastError() == ERROR_ACCESS_DENIED) {
    // There, made by a copy that lets us read it only: enough to find that copy.
    mapping_.reset(OpenFileMappingA(FILE_MAP_READ, FALSE, kInstanceMappingName));
    if (!mapping_) return;
    readOnly_ = true;
  }
  bool created = false;
  if (!mapping_) {
    SECURITY_ATTRIBUTES security{sizeof(security), NewBlockSecurity(), FALSE};
    mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, &security, PAGE_READWRITE, 0,
                                      sizeof(LONG), kInstanceMappingName));
    if (security.lpSecurityDescriptor) LocalFree(security.lpSecurityDescriptor);
    created = static_cast<bool>(mapping_);
  }
  if (!mapping_) return;
  view_ = static_cast<volatile LONG*>(
      MapViewOfFile(mapping_.get(), readOnly_ ? FILE_MAP_READ : FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!view_) {
    Close();
    return;
  }
  if (created) *view_ = 0;
}

bool SingleInstance::CheckRunningInstance(HWND appWindow) {
  if (!view_) return false;
  LONG stored = 0;
  if (readOnly_) {
    // Unable to claim the block, this copy runs unguarded when no copy has claimed it.
    stored = *view_;
    if (stored == 0) return false;
  } else {
    // Claim the block atomically, so that two copies started together cannot both claim it.
    // A window handle fits the 4-byte block in the 64-bit build too: the system keeps handles
    // to 32 significant bits, shared by 32- and 64-bit processes, and sign-extends them, which
    // the LONG -> LONG_PTR conversion below does. So either build finds a copy of the other.
    LONG mine = static_cast<LONG>(reinterpret_cast<LONG_PTR>(appWindow));
    stored = InterlockedCompareExchange(view_, mine, 0);
    if (stored == 0) return false;
  }
  HWND first = reinterpret_cast<HWND>(static_cast<LONG_PTR>(stored));
  // A block this copy may only read can outlive the copy that claimed it, kept by an unguarded
  // copy: a window that has gone is no copy to hand over to.
  if (readOnly_ && !IsWindow(first)) return false;
  // A first copy that hangs must not hang this one: it gives up after a few seconds.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(first, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000,
                           &ignored) &&
      GetLastError() == ERROR_ACCESS_DENIED) {
    // The system refuses our messages to a copy of a higher integrity level (one the setup
    // started elevated): it cannot be brought forward from here, and ending would leave the
    // user with no window at all. So this copy runs as one of its own.
    return false;
  }
  HWND popup = GetLastActivePopup(first);
  if (popup && popup != first && IsWindowVisible(popup) && IsWindowEnabled(popup))
    SetForegroundWindow(popup);
  return true;
}

void SingleInstance::Close() {
  if (view_) UnmapViewOfFile(const_cast<LONG*>(view_));
  view_ = nullptr;
  readOnly_ = false;
  mapping_.reset();
}
