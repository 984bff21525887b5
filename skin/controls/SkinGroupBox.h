#pragma once

#include "skin/controls/SkinFaceControl.h"

// Group boxes and radio groups: a rounded outline in the skin's shadow colour on its face,
// the caption cut into the top edge at the left, or at the right for a right-aligned window
// (WS_EX_RIGHT). The windowless controls inside (labels) are drawn on the same face.
class TSkinGroupBox : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinGroupBox(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;
};
