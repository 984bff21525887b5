#pragma once

#include <memory>

#include "skin/controls/SkinControl.h"
#include "skin/controls/WScrollbar.h"

// Controls with window scroll bars (memos, list boxes, grids, ...): they keep their scroll
// bars and their own scrolling; an overlay (TWScrollbar) hides each visible bar, and the
// control's border becomes a flat two-pixel frame.
class TSkinScrollbar : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinScrollbar(ui::TComponent* owner);
  ~TSkinScrollbar() override;

  // The classification attaches through AttachScrolling; AttachControl does the same for
  // the owning control.
  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachScrolling(ui::TWinControl& control, TSkinData& skinData, TWinSkinForm& form,
                       HDC canvas) override;
  void RestoreControl() override;
  void SkinChanged() override;

  TWScrollbar* HorizontalBar() const { return horizontal_.get(); }
  TWScrollbar* VerticalBar() const { return vertical_.get(); }

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // Off: the overlays go, so that the control's own bars show and work; on: back over them.
  void SkinningSwitched(bool active) override;

  // Both overlays over their bars again (hidden where a bar is gone).
  void UpdateBars();
  void ConcealBars();
  // A scroll notification the control got: the overlay of its bar shows the part it names.
  void ShowScrollPart(UINT msg, WPARAM wParam);
  // After messages that may change a scroll range without a repaint.
  void RefreshBars(UINT msg);
  void FreeBars();
  // The square between two shown bars, in ButtonFace; dc is the window's DC.
  void FillCorner(HDC dc);
  // The flat frame in place of the control's border; dc is the window's DC.
  void DrawBorder(HDC dc);

  std::unique_ptr<TWScrollbar> horizontal_, vertical_;
  bool border_ = false;

 private:
  int savedFixedColour_ = 0;
  bool fixedColourSaved_ = false;
  bool repositioned_ = false;
};
