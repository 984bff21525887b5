#pragma once

#include <windows.h>

// The skin engine's private window messages. The numbers are fixed: skinned windows, wrapped
// controls and popup menus of any module of the process answer them.
namespace skin {

inline constexpr UINT WM_SKINREFRESH = 0x3401;  // to a form skinner: re-apply after a skin change
inline constexpr UINT WM_SKINPAINTFRAME = 0x3502;  // paint the skinned frame now
inline constexpr UINT WM_SKINACTIVATE = 0x3503;    // posted after hooking (wParam 0, lParam 1000)
inline constexpr UINT WM_SKINSTATE = 0x3506;       // to a wrapped control: wParam > 0 on, 0 off
inline constexpr UINT WM_SKINTABCLOSE = 0x3507;    // tab wrapper to form skinner: may the tab close
inline constexpr UINT WM_SKINUSERBUTTON = 0x3514;  // a caption button of a user action was clicked
inline constexpr UINT WM_SKINBUTTONQUERY = 0x3515;   // is a caption button of code wParam shown
inline constexpr UINT WM_SKINMDIREDRAW = 0x3516;     // redraw the MDI frame
inline constexpr UINT WM_SKINRESKINSCROLL = 0x3517;  // re-skin the scroll bars of window wParam
inline constexpr UINT WM_SKINMENUCLICK = 0x3518;     // a menu-bar click at the screen point lParam
inline constexpr UINT WM_SKINQUERY = 0x3523;         // a skinned window or popup menu answers 1
inline constexpr UINT WM_SKINPAINTEDIT = 0xBC4A;     // a skinned edit paints into DC wParam
inline constexpr UINT WM_SKINPAINTDC = 0xBC4B;       // paint into DC wParam (lParam SkinCookie)
inline constexpr UINT WM_SKINPROBE = 0xBC4D;         // SkinCookie back when lParam is SkinCookie
// With lParam SkinCookie: skinning has been applied. Without it the same number is the
// framework's reflected WM_NOTIFY.
inline constexpr UINT WM_SKINNOTIFY = 0xBC4E;

inline constexpr LPARAM SkinCookie = 16802;  // 0x41A2
inline constexpr LPARAM kSkinActivateParam = 1000;

}  // namespace skin
