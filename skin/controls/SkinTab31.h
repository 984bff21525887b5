#pragma once

#include <vector>

#include "skin/controls/SkinFaceControl.h"
#include "skin/data/Margins.h"

// Old-style tab sets (tabs hanging from a line at the top, no pages): the tabs named by the
// control's published Tabs, side by side from its StartMargin, each drawn from the skin's
// Tabs strip turned upside down, the one at TabIndex from the second frame.
class TSkinTab31 : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinTab31(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void SkinChanged() override;

  // Where each tab was drawn last.
  const std::vector<RECT>& TabRects() const { return tabRects_; }

 protected:
  bool DrawsFace() const override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  void MakeImage();

  ui::Bitmap tabs_;  // upside down
  Margins margins_;
  // Kept with the image: the live record may be gone until the wrappers' refresh.
  bool tile_ = false, trans_ = false;
  COLORREF normalText_ = 0, currentText_ = 0;
  std::vector<RECT> tabRects_;
};
