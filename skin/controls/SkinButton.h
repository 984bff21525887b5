#pragma once

#include "skin/controls/SkinControl.h"

class TDataSkinButton;

// Push buttons, drawn whole from the skin's Buttons record in one of five states (normal,
// pressed, disabled, hot, focused or default) with the caption on top. The wrapper takes the
// mouse over: the press never reaches the button, the pressed look follows the wrapper's own
// state, and the release over the button clicks it. The space key is left to the button.
class TSkinButton : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  // Frames of the Buttons image.
  enum : int { kNormal = 1, kPressedFrame = 2, kDisabled = 3, kHotFrame = 4, kFocused = 5 };

  explicit TSkinButton(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  const TDataSkinButton* ButtonsRecord() const;
  // Reads focus, enabled state, caption and "Default" again; then the face's frame.
  void RefreshButtonState();
  virtual int FaceFrame() const;
  COLORREF TextColour(int frame) const;
  // Sizes the face to the rectangle and draws the background and the state frame into it;
  // false when there is nothing to draw on.
  bool BeginFace(HDC target, const RECT& rect, int frame, bool image = true);
  // Copies the face to the target at the rectangle's place.
  void EndFace(HDC target, const RECT& rect);
  // A framework control's click action, or WM_COMMAND to a bare window's parent.
  void Click();

  ui::Bitmap face_;
  bool parentBackground_ = false;
  bool default_ = false;
};
