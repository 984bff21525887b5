#pragma once

#include "skin/controls/SkinFaceControl.h"

// Tab sheets: the skin's face behind the page, with the page's windowless controls (images,
// labels, speed buttons) drawn on it in the same pass.
class TSkinTabSheet : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinTabSheet(ui::TComponent* owner);

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;
};
