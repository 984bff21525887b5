#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Text and window operations shared by the frame and control painters. Only the NT family
// is left, so the wide functions are always there; the ANSI routes are not kept.
namespace skin {

std::wstring AnsiToWide(std::string_view text);            // the system ANSI code page
std::wstring WideLeft(std::wstring_view text, int count);  // count -1: the whole text
int DrawTextCompat(HDC dc, std::wstring_view text, RECT& rect, UINT format);
std::wstring WindowTextWide(HWND window);
void TrackMouseLeave(HWND window);
bool IsPopupLike(HWND window);  // WS_POPUP, or the parent handle is exactly 0x10014

}  // namespace skin
