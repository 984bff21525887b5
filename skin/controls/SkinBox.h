#pragma once

#include "skin/controls/SkinControl.h"

// Panels, forms embedded as controls and other containers: they take the skin's face colour
// (their parent's background switched off) and paint themselves; no message of theirs is
// taken. Giving the control back restores its colour.
class TSkinBox : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinBox(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
};
