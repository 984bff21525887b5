#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/forms/MenuBtn.h"
#include "ui/Bitmap.h"

class TSkinData;
class TWinSkinForm;
namespace ui {
class TMainMenu;
}

// The menu bar of a skinned window: the system no longer draws the window's menu (it is
// taken off the window), and this object draws it into the frame's menu strip below the
// title, one TMenuBtn per top-level item. Owned by the form skinner.
class TWinSkinMenu {
 public:
  TWinSkinMenu(TWinSkinForm& form, TSkinData& skinData);
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // (Re)makes the buttons from the window's menu (MenuHandle once it is off the window) and
  // takes the menu off the window.
  void BuildButtons();
  // Draws the bar into `rect` (frame coordinates) of dc, the frame's off-screen picture.
  void PaintBar(HDC dc, const RECT& rect);
  // The first item with a caption whose rectangle holds the frame point, or null.
  TMenuBtn* ItemAt(POINT framePoint) const;
  TMenuBtn* Button(int index) const;
  // The rows the items take in a strip this wide (at least one).
  int Rows(int width);
  int Count() const { return static_cast<int>(MenuButtons.size()); }
  // Repaints one item on the window over BarBitmap.
  void PaintButtonAlone(TMenuBtn& button);

  std::vector<std::unique_ptr<TMenuBtn>> MenuButtons;
  ui::TMainMenu* Menu = nullptr;  // the form's main menu object, when there is one
  RECT BarRect{};                 // where the bar was last drawn, frame coordinates
  ui::Bitmap BarBitmap;           // the bar's background as last drawn
  HMENU MenuHandle = nullptr;     // the window's menu, kept after it left the window

 private:
  // Places the visible buttons from `start` (measured in dc's font) inside the bar, in as many
  // rows of SM_CYMENU as they need; answers the number of rows.
  int LayoutButtons(HDC dc, const RECT& rect, int start);
  // Where the first item starts in a strip this wide.
  int StartOffset(int width) const;
  // Draws one item's caption (and its hot or pressed frame) into dc, whose origin is the
  // frame's origin moved by `origin`.
  void PaintButton(HDC dc, const TMenuBtn& button, POINT origin, bool framed);
  COLORREF CaptionColour(const TMenuBtn& button) const;

  TWinSkinForm& form_;
  TSkinData& skinData_;
  bool painting_ = false;
};
