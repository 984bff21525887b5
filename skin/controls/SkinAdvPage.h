#pragma once

#include "skin/controls/SkinControl.h"
#include "ui/Bitmap.h"

// Page controls of other libraries that draw their tabs from background pictures: the
// wrapper sets TabBackGround and TabBackGroundActive to the first two frames of the skin's
// Tabs strip and puts the control's own back when it lets go.
class TSkinAdvPage : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinAdvPage(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void RestoreControl() override;
  void SkinChanged() override;

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  void Apply();

  bool saved_ = false;
  ui::Bitmap oldNormal_, oldActive_;
};
