#pragma once

#include <windows.h>

#include "skin/forms/MenuItemCache.h"
#include "ui/Bitmap.h"
#include "ui/WindowSubclass.h"

class TSkinData;

// Paints a popup menu window (class "#32768") from the skin's MenuBackground: its 3-pixel
// frame and the background its owner-drawn items are drawn on. The control manager makes one
// for each popup menu window when it is created and frees it when the window goes.
//
// A menu whose items are all drawn by the system (a popup menu that is to keep the system
// look, a control's own context menu) keeps the system's frame as well, so that the two
// never mix.
class TWinSkinPopMenu {
 public:
  static constexpr int kFrameWidth = 3;

  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() { Unhook(); }
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Subclasses the window; level 0 is a top-level popup, above it the submenu level.
  void Hook(HWND window, TSkinData& skinData, int level);
  TSkinData* SkinData() const { return skinData_; }
  // Gives the window procedure back and drops the background.
  void Unhook();
  // The skin data loaded another skin: the background is made again from it and repainted.
  void SkinChanged();

  HWND Handle() const { return handle_; }
  int Level() const { return level_; }
  // The menu the window shows: given by AttachMenu, else asked of the window.
  HMENU Menu() const;
  void AttachMenu(HMENU menu) { menu_ = menu; }
  bool HasMenu() const { return menu_ != nullptr; }
  // Set for popups of a menu bar (the control manager's marks).
  bool Marked = false;

  // The whole window rendered from MenuBackground, made again when the window's size
  // changed; empty without a MenuBackground image.
  const ui::Bitmap& Background();
  // Where the client area (the items' coordinates) starts in Background.
  POINT ClientOrigin() const;
  // The items as composed on this background, for repaints to copy.
  skin::MenuItemCache& Items() { return items_; }

 private:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
  // The skin paints this window: skinning is on, the skin has a MenuBackground image, and
  // the menu has owner-drawn items.
  bool Painted();
  // The window has a non-client frame of its own (Windows). Wine's menu windows have none
  // and draw their border inside the client area.
  bool HasNonClientFrame() const;
  void OnNcPaint();
  void OnPaint();
  void OnPrint(HDC dc, LPARAM flags);

  ui::WindowSubclass subclass_;
  HWND handle_ = nullptr;
  TSkinData* skinData_ = nullptr;
  int level_ = 0;
  HMENU menu_ = nullptr;
  ui::Bitmap background_;
  skin::MenuItemCache items_;
  // What the client area is composed in, kept from one paint to the next.
  ui::Bitmap composed_;
};
