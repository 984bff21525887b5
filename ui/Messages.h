#pragma once

#include <windows.h>

namespace ui {

// One window message as it travels through a control's WindowProc chain.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Framework notifications. The numbers are fixed: the skin engine listens for them.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;       // a dialog key reached the form
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;      // Alt+letter: accelerator search
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x07;    // lParam: the newly focused control
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B;  // wParam: new visibility
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;
inline constexpr UINT CM_RELEASE = CM_BASE + 0x21;      // posted by TForm::Release
inline constexpr UINT CM_RECREATEWND = CM_BASE + 0x33;  // posted by TWinControl::RecreateWnd

// Notifications a parent receives from a child are reflected to the child as CN_BASE + message.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;  // 0xBD11
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;    // 0xBC4E
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;  // 0xBD15
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

}  // namespace ui
