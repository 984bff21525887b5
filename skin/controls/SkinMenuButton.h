#pragma once

#include "skin/controls/SkinButton.h"

// Buttons with a drop-down part: a push button whose caption keeps clear of the arrow drawn
// near its right edge.
class TSkinMenuButton : public TSkinButton {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinMenuButton(ui::TComponent* owner);

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;
};
