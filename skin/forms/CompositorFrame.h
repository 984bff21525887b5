#pragma once

#include <windows.h>

// What the desktop compositor is asked about a skinned window. dwmapi is loaded at run time:
// Windows without composition and Wine have no compositor (or only stubs) to ask, and every
// call is then a harmless no-op.
namespace skin::compositor {

// The compositor stops drawing the standard frame: WM_NCPAINT is ours from now on.
void StopFrameRendering(HWND window);
// The standard frame's rendering back, for a window given back to the system.
void RestoreFrameRendering(HWND window);
// Keeps the window off the screen while it is being skinned. True only where the compositor
// confirms the window is cloaked (Windows 8 and later); otherwise nothing changed.
bool Cloak(HWND window);
void Uncloak(HWND window);
// Square corners for a skinned popup menu (Windows 11 rounds them).
void SquareCorners(HWND window);

}  // namespace skin::compositor
