#pragma once

#include "skin/controls/SkinControl.h"

// Tab sheets: the skin's face behind the page, with the page's windowless controls (images,
// labels, speed buttons) drawn on it in the same pass.
class TSkinTabSheet : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinTabSheet(ui::TComponent* owner);

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
