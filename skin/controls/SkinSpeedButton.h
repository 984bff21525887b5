#pragma once

#include "skin/controls/SkinBitButton.h"

// Windowless speed buttons: drawn on the parent's paint through the control's own handler.
// A flat one shows the skin's button image only while hot, pressed or down.
class TSkinSpeedButton : public TSkinBitButton {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinSpeedButton(ui::TComponent* owner);

  void PaintWindow(HDC dc) override;

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  int FaceFrame() const override;

 private:
  bool painting_ = false;
};
