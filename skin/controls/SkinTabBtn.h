#pragma once

#include "skin/controls/SkinFaceControl.h"

// Tab controls whose tabs are buttons: each tab a skinned push button, the current one
// pressed, the one under the mouse hot.
class TSkinTabBtn : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinTabBtn(ui::TComponent* owner);

 protected:
  bool DrawsFace() const override;
  bool BeforeMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  // The tab under the mouse, or -1.
  int HotTab() const;

  int hot_ = -1;
};
