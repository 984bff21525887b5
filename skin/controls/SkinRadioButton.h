#pragma once

#include "skin/controls/SkinCheckBox.h"

// Radio buttons: drawn as check boxes are, from the skin's radio image. Strips of 8 frames
// (unchecked and checked, each normal, hot, pressed and disabled) are read by that layout.
class TSkinRadioButton : public TSkinCheckBox {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinRadioButton(ui::TComponent* owner);

  // The frame of an n-frame strip for a checked or unchecked, enabled or disabled button.
  static int RadioFrame(int frameCount, bool checked, bool disabled);

 protected:
  const ui::Bitmap* BoxImage() const override;
  int FrameCount() const override;
  int BoxFrame() const override;
};
