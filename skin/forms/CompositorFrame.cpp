#include "skin/forms/CompositorFrame.h"

namespace skin::compositor {

namespace {

// The attribute ids and values of dwmapi.h, which older SDK headers lack.
constexpr DWORD kNcRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
constexpr DWORD kCloak = 13;             // DWMWA_CLOAK
constexpr DWORD kCloaked = 14;           // DWMWA_CLOAKED
constexpr DWORD kCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kPolicyUseWindowStyle = 0;
constexpr DWORD kPolicyDisabled = 2;
constexpr DWORD kDoNotRound = 1;

using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

struct Dwm {
  SetAttribute set = nullptr;
  GetAttribute get = nullptr;
};

// Loaded once and kept for the process: the calls come from every skinned window.
const Dwm& Api() {
  static const Dwm api = [] {
    Dwm dwm;
    // From the system folder by its full path (Windows 7 may lack the search flags).
    wchar_t path[MAX_PATH + 16]{};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return dwm;
    lstrcatW(path, L"\\dwmapi.dll");
    if (HMODULE module = LoadLibraryW(path)) {
      dwm.set = reinterpret_cast<SetAttribute>(
          reinterpret_cast<void*>(GetProcAddress(module, "DwmSetWindowAttribute")));
      dwm.get = reinterpret_cast<GetAttribute>(
          reinterpret_cast<void*>(GetProcAddress(module, "DwmGetWindowAttribute")));
    }
    return dwm;
  }();
  return api;
}

bool Set(HWND window, DWORD attribute, DWORD value) {
  const Dwm& dwm = Api();
  return dwm.set && IsWindow(window) && SUCCEEDED(dwm.set(window, attribute, &value, sizeof value));
}

}  // namespace

void StopFrameRendering(HWND window) { Set(window, kNcRenderingPolicy, kPolicyDisabled); }

void RestoreFrameRendering(HWND window) { Set(window, kNcRenderingPolicy, kPolicyUseWindowStyle); }

bool Cloak(HWND window) {
  const Dwm& dwm = Api();
  if (!dwm.get || !Set(window, kCloak, TRUE)) return false;
  // A stub may accept the call and cloak nothing; only a window reported cloaked is.
  DWORD cloaked = 0;
  if (SUCCEEDED(dwm.get(window, kCloaked, &cloaked, sizeof cloaked)) && cloaked != 0) return true;
  Set(window, kCloak, FALSE);
  return false;
}

void Uncloak(HWND window) { Set(window, kCloak, FALSE); }

void SquareCorners(HWND window) { Set(window, kCornerPreference, kDoNotRound); }

}  // namespace skin::compositor
