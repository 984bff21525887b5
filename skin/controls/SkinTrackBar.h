#pragma once

#include "skin/controls/SkinControl.h"

// Track bars, through the system's custom drawing: the channel from the skin's Track (or
// TRACKVERT) image, the thumb from the second frame of its Trackbar.Thumb… strip, or a plain
// outline in the shadow colour when the skin has no thumb; the tics stay the control's. The
// bar's background is the skin's face.
class TSkinTrackBar : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinTrackBar(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void RestoreControl() override;

 protected:
  bool BeforeMessage(ui::TMessage& message) override;

 private:
  bool Vertical() const;
  // Answers one custom-draw notification of the bar; false when it is not one.
  bool CustomDraw(ui::TMessage& message);
  void DrawThumb(HDC dc);
  void DrawChannel(HDC dc);
};
