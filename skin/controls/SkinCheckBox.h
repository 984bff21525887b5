#pragma once

#include "skin/controls/SkinControl.h"

// Check boxes. With the skin's check image the wrapper draws the whole control (mode 1): the
// background, the box as one frame of the image strip, and the caption; without it only the
// background is the skin's. The frame follows the check state and the enabled state; strips of
// 12 frames (unchecked, checked and mixed, each normal, hot, pressed and disabled) are read
// by that layout, any other strip as unchecked, checked, unchecked disabled, checked disabled.
class TSkinCheckBox : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinCheckBox(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;
  void SkinChanged() override;

  // The frame of an n-frame strip for the basic frame (1 unchecked, 2 checked, 3 unchecked
  // disabled, 4 checked disabled) or a mixed state.
  static int CheckFrame(int frameCount, int basic, bool indeterminate, bool disabled);
  // A basic frame in a strip of groups of four (normal, hot, pressed, disabled): unchecked
  // normal 1, unchecked disabled 4, checked normal 5, checked disabled 8.
  static int GroupedFrame(int basic);

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The strip and its frame count.
  virtual const ui::Bitmap* BoxImage() const;
  virtual int FrameCount() const;
  // The frame to show now.
  virtual int BoxFrame() const;
  // The wrapper draws the control itself when the strip is there.
  void ChooseMode();
  // The check state a framework control publishes: 1 unchecked, 2 checked, 4 mixed; 0 when
  // it publishes none (the window's state counts then).
  int PublishedState() const;

  // BM_SETCHECK's wParam + 1 of the last one seen; 0 before any.
  int lastState_ = 0;
  bool parentBackground_ = false;
};
